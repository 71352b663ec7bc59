// zolt check FILE...: every error and warning of each source, in one run, as text for people
// and editors, or as JSON or SARIF for programs.
#pragma once

#include <CLI/CLI.hpp>

#include "tools/cli/tool_context.h"

namespace zoltas {

void addCheckCommand(CLI::App& zolt, ToolContext& context);

}  // namespace zoltas
