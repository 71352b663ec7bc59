#include <iostream>

#include "driver/run.h"

int main(int argc, char** argv) {
    // Console lines are flushed one by one; stdio sync would only slow that down.
    std::ios::sync_with_stdio(false);
    return zoltas::runAssembler(argc, argv, std::cout);
}
