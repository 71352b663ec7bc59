// Passes 2 and 3: patch every word that names a constant or a label, then warn about the
// symbols nothing used.
#pragma once

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

[[nodiscard]] bool resolveConstantReferences(AssemblyState& state, Reporter& reporter);
[[nodiscard]] bool resolveLabelReferences(AssemblyState& state, Reporter& reporter);

}  // namespace zoltas
