// zolt with the export subcommand, run as the zolt program runs it: a bad command line ends
// with CLI11's message and status 1; --help prints the help and status 0.
#pragma once

#include <string>
#include <vector>

#include "tools/cli/tool_context.h"

namespace zoltas::test {

// `args` come after the program name. Returns the exit status.
int runZolt(const std::vector<std::string>& args, ToolContext& context);

}  // namespace zoltas::test
