// No file zoltas writes may be the source it reads, or the log it keeps open: writing one would
// destroy the source, or interleave the image with the log.
#pragma once

#include <string>

#include "driver/file_system.h"
#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// Whether `name` reaches the source or, when `logOpen`, asm.log, through whatever path or link.
// If so, the refusal is reported and nothing is opened.
// Console: Write error: Won't overwrite the source file "<name>"!
//          Write error: Won't overwrite the log file "<name>"!
// Log: "Error: Specified output file is the source file" (or "the log file").
[[nodiscard]] bool isProtected(const std::string& name, const AssemblyState& state, bool logOpen,
                               Reporter& reporter, FileSystem& files);

}  // namespace zoltas
