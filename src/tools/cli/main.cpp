#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>

#include "driver/file_system.h"
#include "driver/reporter.h"
#include "tools/cli/zolt_app.h"

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // `zolt list big.asm | head` stops reading: the rest of the output is lost, nothing else.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    try {
        // Listings are long: the streams buffer on their own, not through stdio.
        std::ios::sync_with_stdio(false);
        zoltas::DiskFileSystem files;
        zoltas::ToolContext context{files, std::cout, std::cerr};
        context.outIsTerminal = isatty(STDOUT_FILENO) != 0;
        context.errIsTerminal = isatty(STDERR_FILENO) != 0;
        context.environment = [](const char* name) -> const char* { return std::getenv(name); };
        const int status = zoltas::runZolt(argc, argv, context);
        std::cout.flush();
        // Output that could not be written (a full disk, a closed pipe) is a failure too.
        if (!std::cout) {
            std::cerr << "Error: Standard output could not be written\n";
            return 1;
        }
        return status;
    } catch (const std::bad_alloc&) {
        std::fputs(zoltas::kOutOfMemoryText.data(), stderr);
        std::fputs("\n", stderr);
        return 1;
    }
}
