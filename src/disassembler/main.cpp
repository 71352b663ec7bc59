#include <iostream>

#include "disassembler/disassembler.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    zoltas::DiskFileSystem files;
    return zoltas::runDisassembler(argc, argv, std::cout, std::cerr, files);
}
