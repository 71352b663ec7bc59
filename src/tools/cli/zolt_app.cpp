#include "tools/cli/zolt_app.h"

#include <CLI/CLI.hpp>
#include <new>
#include <string>

#include "driver/reporter.h"
#include "driver/run.h"
#include "tools/check/check_command.h"
#include "tools/listing/list_command.h"
#include "tools/symbol_map/symbols_command.h"

namespace zoltas {

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
            context.err << "Error: No command \"" << topic << "\"; \"zolt --help\" lists them\n";
            context.status = 1;
        }
    });

    try {
        zolt.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and the version are successes; every other problem with the command line is a
        // message and status 1.
        const int code = zolt.exit(error, context.out, context.err);
        return code == 0 ? 0 : 1;
    } catch (const std::bad_alloc&) {
        context.err << kOutOfMemoryText << '\n';
        return 1;
    }
    return context.status;
}

}  // namespace zoltas
