// No file zoltas writes may be the source it reads, the log it keeps open, or another file of
// the same output: writing one would destroy the source, or mix the image with the log or with
// its own other half. Outputs are opened without emptying them and compared, as open files, with
// the open files they must not be; only then are they emptied, so no link swapped in between a
// test and the write can make them reach another file.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "driver/file_system.h"
#include "driver/reporter.h"

namespace zoltas {

// An open file that no output may be.
struct KeptFile {
    enum class Role { source, log };
    FileKey key;
    Role role;
};

struct OpenedOutputs {
    bool refused = false;
    // One per name, in order, contents as they were; nothing where a file could not be opened.
    std::vector<std::unique_ptr<OutputFile>> files;
};

// The console line of a refused output: Write error: Won't overwrite the source file "<name>"!
// (or "the log file").
[[nodiscard]] std::string keptFileText(KeptFile::Role role, const std::string& name);

// Opens each of `names` for writing. Existing files are opened and checked first, so that no
// file is created while the outputs can still be refused. When one of them is a kept file, or
// two of them are one file, the refusal is reported and `refused` set; the files opened so far
// are closed untouched.
// Console: Write error: Won't overwrite the source file "<name>"!
//          Write error: Won't overwrite the log file "<name>"!
//          Write error: "<first>" and "<second>" are the same file!
// Log: "Error: Specified output file is the source file" (or "the log file"),
//      "Error: Specified output files are the same file".
[[nodiscard]] OpenedOutputs openOutputFiles(FileSystem& files, std::span<const std::string> names,
                                            FileMode mode, std::span<const KeptFile> kept,
                                            Reporter& reporter);

}  // namespace zoltas
