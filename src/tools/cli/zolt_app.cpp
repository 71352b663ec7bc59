#include "tools/cli/zolt_app.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <new>
#include <string>

#include "driver/reporter.h"
#include "driver/run.h"
#include "tools/check/check_command.h"
#include "tools/export/export_command.h"
#include "tools/listing/list_command.h"
#include "tools/lsp/lsp_command.h"
#include "tools/symbol_map/symbols_command.h"

namespace zoltas {

namespace {

std::string noCommandText(const std::string& name) {
    return "Error: No command \"" + name + "\" (\"zolt --help\" lists them)";
}

}  // namespace

int runZolt(int argc, const char* const* argv, ToolContext& context) {
    CLI::App zolt(
        "zolt: the companion of zoltas, the Zolt assembler. Every subcommand runs "
        "zoltas's own rules, in memory, and writes no file it is not asked to write.",
        "zolt");
    zolt.set_version_flag("--version",
                          std::string("zolt ") + kVersion + " (zoltas " + kVersion + ")");
    zolt.require_subcommand(1);
    zolt.footer("Run \"zolt help COMMAND\" or \"zolt COMMAND --help\" for a command's options.");
    addCheckCommand(zolt, context);
    addListCommand(zolt, context);
    addSymbolsCommand(zolt, context);
    addExportCommand(zolt, context);
    addLspCommand(zolt, context);

    // "zolt help" and "zolt help COMMAND" print the same help as --help.
    std::string topic;
    CLI::App* help = zolt.add_subcommand("help", "Show the help of zolt or of one command");
    help->add_option("COMMAND", topic, "The command");
    help->callback([&] {
        if (topic.empty()) {
            context.out << zolt.help();
            return;
        }
        try {
            context.out << zolt.get_subcommand(topic)->help();
        } catch (const CLI::OptionNotFound&) {
            context.err << noCommandText(topic) << '\n';
            context.status = 1;
        }
    });

    if (argc > 1 && argv[1][0] != '-') {
        const auto commands = zolt.get_subcommands([](const CLI::App*) { return true; });
        if (std::none_of(commands.begin(), commands.end(),
                         [&](const CLI::App* command) { return command->get_name() == argv[1]; })) {
            context.err << noCommandText(argv[1]) << '\n';
            return 1;
        }
    }
    try {
        zolt.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and the version are successes; every other problem with the command line is one
        // message in the program's shape, and status 1.
        if (error.get_exit_code() == 0) {
            return zolt.exit(error, context.out, context.err);
        }
        context.err << "Error: " << error.what() << " (\"zolt --help\" shows the usage)\n";
        return 1;
    } catch (const std::bad_alloc&) {
        context.err << kOutOfMemoryText << '\n';
        return 1;
    }
    return context.status;
}

}  // namespace zoltas
