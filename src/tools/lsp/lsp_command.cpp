#include "tools/lsp/lsp_command.h"

#include <iostream>

#include "tools/lsp/language_server.h"

namespace zoltas {

void addLspCommand(CLI::App& zolt, ToolContext& context) {
    CLI::App* command = zolt.add_subcommand(
        "lsp",
        "Serve editors as a language server (the Language Server Protocol on standard "
        "input and output)");
    command->callback(
        [&context] { context.status = serveLanguage(std::cin, context.out, context.files); });
}

}  // namespace zoltas
