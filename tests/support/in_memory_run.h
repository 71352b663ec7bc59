// One whole zoltas run in memory: the files it reads and writes are strings, the console a
// string, so a test sees everything a run leaves behind without touching the disk.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "driver/file_system.h"
#include "driver/run.h"

namespace zoltas::test {

struct InMemoryRun {
    int status = 1;
    std::string console;
    MemoryFileSystem files;
};

// Runs zoltas with argv[0] "zoltas" followed by `args`, over `files`.
[[nodiscard]] InMemoryRun runZoltas(std::map<std::string, std::string> files,
                                    const std::vector<std::string>& args,
                                    const RunOverrides& overrides = {});

}  // namespace zoltas::test
