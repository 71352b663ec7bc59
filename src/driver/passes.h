// Passes 1 to 3 on an open source, in their order: what zoltas and every tool run alike.
#pragma once

#include <istream>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// The source cannot be opened, or breaks off while it is read: it must not pass for a shorter
// source. Console: Load error: No such file "<name>" exists!
// Log: "Error: Specified input file could not be accessed".
void reportLoadError(const AssemblyState& state, Reporter& reporter);

// Pass 1, then passes 2 and 3; false after the first failure, which is reported.
[[nodiscard]] bool runSourcePasses(std::istream& source, AssemblyState& state, Reporter& reporter);

}  // namespace zoltas
