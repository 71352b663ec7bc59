// What every subcommand of zolt is given: the files, the two output streams and the facts about
// the terminal, so that each runs in memory under tests just as it runs for a user.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "driver/file_system.h"

namespace zoltas {

struct ToolContext {
    FileSystem& files;
    std::ostream& out;  // standard output: what the user asked for
    std::ostream& err;  // standard error: diagnostics and failures
    bool outIsTerminal = false;
    bool errIsTerminal = false;
    // An environment variable, or nothing (NO_COLOR, CLICOLOR_FORCE).
    std::function<const char*(const char*)> environment = [](const char*) { return nullptr; };
    // The exit status that the chosen subcommand leaves: 0, or 1 after any failure.
    int status = 0;
};

}  // namespace zoltas

// Each subcommand's library adds it to the zolt application with one function of this shape:
//   void addExportCommand(CLI::App& zolt, zoltas::ToolContext& context);
// It declares its options and, as the subcommand's callback, runs and sets context.status.
