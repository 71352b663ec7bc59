#include "symbols/label_definition.h"

#include <string>

namespace zoltas {

// The name runs up to the first ":" or, without one, up to the last character, which is dropped:
// "loop: ; start" and "loopx" both define loop. Nothing is trimmed or folded.
// Log: Created label "<name>" with address of $hhhh [d]
void defineLabel(AssemblyState& state, Reporter& reporter, std::string_view line) {
    const std::size_t colon = line.find(':');
    const std::string_view name =
        line.substr(0, colon == std::string_view::npos ? line.size() - 1 : colon);
    const std::size_t reached = state.labels.define(name, state.address);
    if (state.record != nullptr) {
        state.record->defined(false, name, state.address, reached);
        LineRecord& record = state.record->line();
        record.name = state.record->span(name);
        // After the ":" (or the dropped last character) nothing is read.
        record.ignored = {record.name.end + 1, static_cast<std::uint32_t>(line.size())};
    }
    reporter.logLine([&] {
        return joined(
            {"Created label \"", name, "\" with address of ", formatValue(state.address, '0')});
    });
}

}  // namespace zoltas
