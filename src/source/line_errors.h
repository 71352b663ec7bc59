// Fatal errors of a source line: the log's short phrase completes the listing line, and the
// console gets "L" + line number + TAB + "ERROR: " + description.
#pragma once

#include <initializer_list>
#include <string_view>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// The description is given in parts, joined once: it may quote a whole line of any length.
[[nodiscard]] LineResult reportLineError(const AssemblyState& state, Reporter& reporter,
                                         std::initializer_list<std::string_view> description,
                                         std::string_view logText);

// A text that holds no number, or one outside the signed 32-bit range, is fatal like every other
// source error. Console: L<line>\tERROR: Invalid number "<text>". Log: "Invalid number".
[[nodiscard]] LineResult reportNumberError(const AssemblyState& state, Reporter& reporter,
                                           std::string_view text);

}  // namespace zoltas
