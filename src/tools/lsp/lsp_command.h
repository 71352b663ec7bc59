// zolt lsp: the language server on standard input and output.
#pragma once

#include <CLI/CLI.hpp>

#include "tools/cli/tool_context.h"

namespace zoltas {

void addLspCommand(CLI::App& zolt, ToolContext& context);

}  // namespace zoltas
