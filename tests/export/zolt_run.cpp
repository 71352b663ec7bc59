#include "zolt_run.h"

#include <CLI/CLI.hpp>

#include "tools/export/export_command.h"

namespace zoltas::test {

int runZolt(const std::vector<std::string>& args, ToolContext& context) {
    CLI::App zolt{"The companion program of zoltas", "zolt"};
    zolt.require_subcommand(1);
    addExportCommand(zolt, context);
    std::vector<const char*> argv{"zolt"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    context.status = 0;
    try {
        zolt.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::ParseError& error) {
        // Help is a success; every other problem with the command line is CLI11's message and
        // status 1.
        const int code = zolt.exit(error, context.out, context.err);
        return code == 0 ? 0 : 1;
    }
    return context.status;
}

}  // namespace zoltas::test
