#include "source/line_errors.h"
#include "record/diagnostic_codes.h"

#include <string>

#include "source/syntax.h"

namespace zoltas {

LineResult reportLineError(AssemblyState& state, Reporter& reporter, std::string_view code,
                           std::string_view culprit,
                           std::initializer_list<std::string_view> description,
                           std::string_view logText) {
    reporter.logLine(logText);
    std::size_t size = 0;
    for (const std::string_view part : description) {
        size += part.size();
    }
    std::string message = lineTagged(state.lineNumber, "ERROR: ");
    const std::size_t descriptionStart = message.size();
    message.reserve(message.size() + size);
    for (const std::string_view part : description) {
        message += part;
    }
    reporter.consoleLine(message);
    if (state.record != nullptr) {
        state.record->lineDiagnostic(Severity::error, code, culprit,
                                     std::string_view(message).substr(descriptionStart), message);
    }
    return LineResult::abortRun;
}

NumberReading readLineNumber(AssemblyState& state, std::string_view text) {
    const NumberReading reading = readNumberPrefix(text);
    if (state.record != nullptr) {
        state.record->number(text, reading.digitsEnd, reading.value);
    }
    return reading;
}

LineResult reportNumberError(AssemblyState& state, Reporter& reporter, std::string_view text) {
    return reportLineError(state, reporter, codes::invalidNumber, text,
                           {"Invalid number \"", text, "\""}, "Invalid number");
}

std::optional<std::int32_t> readNumberOrReport(AssemblyState& state, Reporter& reporter,
                                               std::string_view text) {
    const auto value = readLineNumber(state, text).value;
    if (!value) {
        (void)reportNumberError(state, reporter, text);
    }
    return value;
}

}  // namespace zoltas
