#include "source/line_errors.h"

#include <string>

namespace zoltas {

LineResult reportLineError(const AssemblyState& state, Reporter& reporter,
                           std::string_view description, std::string_view logText) {
    reporter.logLine(logText);
    std::string message = "ERROR: ";
    message += description;
    reporter.consoleLine(lineTagged(state.lineNumber, message));
    return LineResult::abortRun;
}

LineResult reportNumberError(const AssemblyState& state, Reporter& reporter,
                             std::string_view text) {
    std::string description = "Invalid number \"";
    description += text;
    description += '"';
    return reportLineError(state, reporter, description, "Invalid number");
}

}  // namespace zoltas
