#include "source/number_error.h"

#include <string>

namespace zoltas {

LineResult reportNumberError(const AssemblyState& state, Reporter& reporter,
                             std::string_view text) {
    reporter.logLine("Invalid number");
    std::string description = "ERROR: Invalid number \"";
    description += text;
    description += '"';
    reporter.consoleLine(lineTagged(state.lineNumber, description));
    return LineResult::abortRun;
}

}  // namespace zoltas
