// Label lines: every line whose first character is not ";", "." or TAB.
#pragma once

#include <string_view>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// Defines a label at the current address; it cannot fail.
void defineLabel(AssemblyState& state, Reporter& reporter, std::string_view line);

}  // namespace zoltas
