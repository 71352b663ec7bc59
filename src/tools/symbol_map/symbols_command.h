// zolt symbols FILE: every label and constant with its kind, value, line and uses; as a table,
// or as the plain "name = $hhhh" file that zoltdis reads to name addresses and values.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>

#include "tools/cli/tool_context.h"
#include "tools/common/analysis.h"

namespace zoltas {

void addSymbolsCommand(CLI::App& zolt, ToolContext& context);

// A table of every symbol of the source but the built-in AssembleAddress, in definition order,
// labels first.
void writeSymbolTable(std::ostream& out, const Analysis& analysis);

// One line a symbol that a reference can reach: "NAME = $hhhh" for a label, "\NAME = $hhhh"
// for a constant.
void writeSymbolFile(std::ostream& out, const Analysis& analysis);

}  // namespace zoltas
