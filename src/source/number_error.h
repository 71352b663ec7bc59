#pragma once

#include <string_view>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// A text that holds no number, or one outside the signed 32-bit range, is fatal like every other
// source error. Log: "Invalid number" after the listing prefix.
// Console: L<line>\tERROR: Invalid number "<text>"
[[nodiscard]] LineResult reportNumberError(const AssemblyState& state, Reporter& reporter,
                                           std::string_view text);

}  // namespace zoltas
