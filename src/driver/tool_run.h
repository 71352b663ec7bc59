// Assembly for the tools around zoltas: the passes zoltas runs, on one source, without its
// command line, its log or its output files. What a tool learns here is what zoltas does.
#pragma once

#include <string>

#include "driver/file_system.h"
#include "output/image_files.h"
#include "record/assembly_record.h"
#include "source/assembly_state.h"

namespace zoltas {

struct ToolRun {
    // 1 when zoltas, run as `zoltas SOURCE output.rom rom`, would end with an error: a load
    // error, an error in passes 1 to 3, or (with a record) an output that is the source; 0
    // otherwise. Whether an output can be created is not tried: nothing is written.
    int status = 1;
    // What zoltas would print up to the end of pass 3.
    std::string console;
    // As the passes left it: the image, the start and highest address, the output's name and
    // format after ".out" and ".binary".
    AssemblyState state;
};

// Reads `sourceName` through `files` and runs passes 1 to 3 on it. With a record, the passes
// fill it; its symbols then also carry their final use counts, and it holds the error for an
// output that would be the source.
[[nodiscard]] ToolRun runPassesForTool(FileSystem& files, const std::string& sourceName,
                                       AssemblyRecord* record = nullptr);

// The words pass 4 writes: from the start address up to and including the highest address.
[[nodiscard]] MemoryImage outputImage(const AssemblyState& state);

}  // namespace zoltas
