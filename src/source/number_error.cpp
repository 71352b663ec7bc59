#include "source/number_error.h"

#include <string>

namespace zoltas {

LineResult reportNumberError(const AssemblyState& state, Reporter& reporter,
                             std::string_view text) {
    reporter.logLine("Invalid number");
    std::string message = "L" + std::to_string(state.lineNumber) + "\tERROR: Invalid number \"";
    message += text;
    message += '"';
    reporter.consoleLine(message);
    return LineResult::abortRun;
}

}  // namespace zoltas
