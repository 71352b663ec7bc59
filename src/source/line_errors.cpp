#include "source/line_errors.h"

#include <string>

namespace zoltas {

LineResult reportLineError(const AssemblyState& state, Reporter& reporter,
                           std::initializer_list<std::string_view> description,
                           std::string_view logText) {
    reporter.logLine(logText);
    std::size_t size = 0;
    for (const std::string_view part : description) {
        size += part.size();
    }
    std::string message = lineTagged(state.lineNumber, "ERROR: ");
    message.reserve(message.size() + size);
    for (const std::string_view part : description) {
        message += part;
    }
    reporter.consoleLine(message);
    return LineResult::abortRun;
}

LineResult reportNumberError(const AssemblyState& state, Reporter& reporter,
                             std::string_view text) {
    return reportLineError(state, reporter, {"Invalid number \"", text, "\""}, "Invalid number");
}

}  // namespace zoltas
