// Fatal errors of a source line: the log's short phrase completes the listing line, and the
// console gets "L" + line number + TAB + "ERROR: " + description. Numbers are read here too, so
// that every number of a line and every error about one is reported the same way.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "driver/reporter.h"
#include "source/assembly_state.h"
#include "source/syntax.h"

namespace zoltas {

// `code` names the error for the tools; `culprit` is the part of the line it is about (empty:
// the whole line). The description is given in parts, joined once: it may quote a whole line.
[[nodiscard]] LineResult reportLineError(AssemblyState& state, Reporter& reporter,
                                         std::string_view code, std::string_view culprit,
                                         std::initializer_list<std::string_view> description,
                                         std::string_view logText);

// A number on the current line, read like readNumber, and kept in the run's record.
[[nodiscard]] NumberReading readLineNumber(AssemblyState& state, std::string_view text);

// A text that holds no number, or one outside the signed 32-bit range, is fatal like every other
// source error. Console: L<line>\tERROR: Invalid number "<text>". Log: "Invalid number".
[[nodiscard]] LineResult reportNumberError(AssemblyState& state, Reporter& reporter,
                                           std::string_view text);

// readLineNumber, and the number error when there is no number.
[[nodiscard]] std::optional<std::int32_t> readNumberOrReport(AssemblyState& state,
                                                             Reporter& reporter,
                                                             std::string_view text);

}  // namespace zoltas
