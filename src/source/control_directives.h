// Directive lines: the 22 control directives by name, in table order, and otherwise the data
// and constant directive that the line's second character selects.
#pragma once

#include <span>
#include <string_view>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// `line` is the whole line, "." first, at least three characters long. Names are matched by
// prefix and with case: ".endless" is ".end", ".END" is nothing and is ignored.
[[nodiscard]] LineResult dispatchDirective(AssemblyState& state, Reporter& reporter,
                                           std::string_view line);

// The names of the 22 control directives, without the ".", in the order they are tested.
[[nodiscard]] std::span<const std::string_view> controlDirectiveNames();

// The characters after "." that select a data or constant directive: "d", "a", "z", "s", "c".
inline constexpr std::string_view kDataSelectors = "dazsc";

}  // namespace zoltas
