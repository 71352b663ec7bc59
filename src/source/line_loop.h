// Pass 1: reads the source line by line and hands each line to its handler.
#pragma once

#include <istream>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// Ends with success at the end of the source, at ".end" or at the word limit; with failure after
// a handler has reported a fatal error.
[[nodiscard]] bool parseSource(std::istream& source, AssemblyState& state, Reporter& reporter);

}  // namespace zoltas
