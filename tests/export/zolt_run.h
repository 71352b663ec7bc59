// zolt in memory, run as the zolt program runs it.
#pragma once

#include <string>
#include <vector>

#include "tools/cli/tool_context.h"

namespace zoltas::test {

// `args` come after the program name. Returns the exit status.
int runZolt(const std::vector<std::string>& args, ToolContext& context);

}  // namespace zoltas::test
