#include "driver/passes.h"

#include "source/line_loop.h"
#include "symbols/reference_resolution.h"

namespace zoltas {

void reportLoadError(const AssemblyState& state, Reporter& reporter) {
    reporter.consoleLine(noSuchFileText(state.inputName));
    reporter.logLine("Error: Specified input file could not be accessed");
}

bool runSourcePasses(std::istream& source, AssemblyState& state, Reporter& reporter) {
    if (!parseSource(source, state, reporter)) {
        return false;
    }
    if (source.bad()) {
        reportLoadError(state, reporter);
        return false;
    }
    return resolveConstantReferences(state, reporter) && resolveLabelReferences(state, reporter);
}

}  // namespace zoltas
