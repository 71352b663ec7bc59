#include <csignal>
#include <cstdio>
#include <iostream>
#include <new>

#include "driver/reporter.h"
#include "driver/run.h"

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A console piped into a program that stops reading must not end the run: console write
    // errors are ignored, and the output files and exit status stay as they would be.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    // runAssembler reports running out of memory itself; this is for the little that happens
    // before it, under a memory limit so tight that even setting up fails.
    try {
        zoltas::DiskFileSystem files;
        return zoltas::runAssembler(argc, argv, std::cout, files);
    } catch (const std::bad_alloc&) {
        std::fputs(zoltas::kOutOfMemoryText.data(), stdout);
        std::fputs("\n", stdout);
        return 1;
    }
}
