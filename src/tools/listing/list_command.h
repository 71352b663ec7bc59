// zolt list FILE: each source line beside its number, its address and the words it placed.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>

#include "tools/cli/tool_context.h"
#include "tools/common/analysis.h"

namespace zoltas {

void addListCommand(CLI::App& zolt, ToolContext& context);

// The listing of an analysed source.
void writeListing(std::ostream& out, const Analysis& analysis);

}  // namespace zoltas
