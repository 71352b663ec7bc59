// Directive lines: the 22 control directives by name, in table order, and otherwise the data
// and constant directive that the line's second character selects.
#pragma once

#include <string_view>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// `line` is the whole line, "." first, at least three characters long. Names are matched by
// prefix and with case: ".endless" is ".end", ".END" is nothing and is ignored.
[[nodiscard]] LineResult dispatchDirective(AssemblyState& state, Reporter& reporter,
                                           std::string_view line);

}  // namespace zoltas
