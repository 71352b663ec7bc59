#include <csignal>
#include <iostream>

#include "driver/run.h"

int main(int argc, char** argv) {
    // Console lines are flushed one by one; stdio sync would only slow that down.
    std::ios::sync_with_stdio(false);
#ifdef SIGPIPE
    // A console piped into a program that stops reading must not end the run: console write
    // errors are ignored, and the output files and exit status stay as they would be.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    zoltas::DiskFileSystem files;
    return zoltas::runAssembler(argc, argv, std::cout, files);
}
