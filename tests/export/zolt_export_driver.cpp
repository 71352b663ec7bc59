// A zolt that knows only the export subcommand, for the tests that run a program on disk.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "driver/file_system.h"
#include "zolt_run.h"

int main(int argc, char** argv) {
    zoltas::DiskFileSystem files;
    zoltas::ToolContext context{files, std::cout, std::cerr};
    context.outIsTerminal = isatty(1) != 0;
    context.errIsTerminal = isatty(2) != 0;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = zoltas::test::runZolt(args, context);
    std::cout.flush();
    // As zolt does: output that could not be written is a failure too.
    if (!std::cout) {
        std::cerr << "Error: Standard output could not be written\n";
        return 1;
    }
    return status;
}
