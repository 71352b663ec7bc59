// One whole zoltas run in memory: the files it reads and writes are strings, the console a
// string, so a test sees everything a run leaves behind without touching the disk.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <memory>
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

// Files in memory, except that the ones named in `broken` give their bytes and then fail, as a
// disk that breaks down would.
class BrokenFileSystem : public MemoryFileSystem {
  public:
    std::map<std::string, std::string> broken;

    std::unique_ptr<InputFile> openForReading(const std::string& name) override;
};

// One CROM line, "M" + address + "=" + word + line feed, as zoltas writes it.
[[nodiscard]] std::string cromLine(std::uint16_t address, std::uint16_t word);

// Runs zoltas with argv[0] "zoltas" followed by `args`, over `files`.
[[nodiscard]] InMemoryRun runZoltas(std::map<std::string, std::string> files,
                                    const std::vector<std::string>& args,
                                    const RunOverrides& overrides = {});

}  // namespace zoltas::test
