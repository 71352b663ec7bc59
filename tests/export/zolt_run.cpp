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
    } catch (const CLI::CallForHelp& help) {
        return zolt.exit(help, context.out, context.err);
    } catch (const CLI::ParseError& error) {
        context.err << "Error: " << error.what() << '\n';
        return 1;
    }
    return context.status;
}

}  // namespace zoltas::test
