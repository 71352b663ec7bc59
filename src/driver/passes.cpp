#include "driver/passes.h"

#include "source/line_loop.h"
#include "symbols/reference_resolution.h"

namespace zoltas {

void reportLoadError(const AssemblyState& state, Reporter& reporter) {
    reporter.consoleLine(noSuchFileText(state.inputName));
    reporter.logLine("Error: Specified input file could not be accessed");
}

bool runSourcePasses(std::istream& source, AssemblyState& state, Reporter& reporter) {
    // A tool that wants every error runs passes 2 and 3 after a failed pass 1 too.
    const bool goOn = state.record != nullptr && state.record->continueAfterErrors;
    bool passed = parseSource(source, state, reporter);
    if (passed && source.bad()) {
        reportLoadError(state, reporter);
        passed = false;
    }
    if (!passed && !goOn) {
        return false;
    }
    passed = resolveConstantReferences(state, reporter) && passed;
    if (!passed && !goOn) {
        return false;
    }
    return resolveLabelReferences(state, reporter) && passed;
}

}  // namespace zoltas
