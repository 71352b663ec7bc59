// The handlers the line loop calls, one per line class. Each takes the whole line without its
// line end; the listing prefix is already in the log, so a handler's first log text completes it.
#pragma once

#include <string_view>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// A line whose first character is ".".
[[nodiscard]] LineResult dispatchDirective(AssemblyState& state, Reporter& reporter,
                                           std::string_view line);

// A line whose first character is a TAB.
[[nodiscard]] LineResult handleInstructionLine(AssemblyState& state, Reporter& reporter,
                                               std::string_view line);

// Any other line; it cannot fail.
void defineLabel(AssemblyState& state, Reporter& reporter, std::string_view line);

}  // namespace zoltas
