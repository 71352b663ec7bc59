// zolt: one program, its subcommands the tools around zoltas.
#pragma once

#include "tools/cli/tool_context.h"

namespace zoltas {

// argv[0] is the program name. Returns the exit status, 0 or 1; output and errors go to the
// context's streams.
[[nodiscard]] int runZolt(int argc, const char* const* argv, ToolContext& context);

}  // namespace zoltas
