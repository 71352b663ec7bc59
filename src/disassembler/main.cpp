#include <cstdio>
#include <iostream>
#include <new>

#include "disassembler/command_line.h"
#include "driver/reporter.h"

// The console stays synchronised with stdio: unsynchronised streams allocate their buffers on
// first use, where running out of memory would abort instead of reaching the handler.
int main(int argc, char** argv) {
    try {
        zoltas::DiskFileSystem files;
        return zoltas::runDisassembler(argc, argv, std::cout, std::cerr, files);
    } catch (const std::bad_alloc&) {
        std::fputs(zoltas::kOutOfMemoryText.data(), stderr);
        std::fputs("\n", stderr);
        return 1;
    }
}
