// Assembly for the tools around zoltas: the passes zoltas runs, on one source, without its
// command line, its log or its output files. What a tool learns here is what zoltas does.
#pragma once

#include <string>

#include "driver/file_system.h"
#include "output/image_files.h"
#include "source/assembly_state.h"

namespace zoltas {

struct ToolRun {
    // 1 when zoltas, run as `zoltas SOURCE output.rom rom`, would end with an error before it
    // writes its output (a load error, or an error in passes 1 to 3); 0 otherwise.
    int status = 1;
    // What zoltas would print up to the end of pass 3.
    std::string console;
    // As the passes left it: the image, the start and highest address, the output's name and
    // format after ".out" and ".binary".
    AssemblyState state;
};

// Reads `sourceName` through `files` and runs passes 1 to 3 on it.
[[nodiscard]] ToolRun runPassesForTool(FileSystem& files, const std::string& sourceName);

// The words pass 4 writes: from the start address up to and including the highest address.
[[nodiscard]] MemoryImage outputImage(const AssemblyState& state);

}  // namespace zoltas
