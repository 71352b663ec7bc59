// Instruction lines: a TAB, a mnemonic and for a two-word instruction its operand.
#pragma once

#include <string_view>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// Places the instruction's one or two words at the current address; `line` is the whole line,
// TAB first. An invalid mnemonic or operand ends the run.
[[nodiscard]] LineResult handleInstructionLine(AssemblyState& state, Reporter& reporter,
                                               std::string_view line);

}  // namespace zoltas
