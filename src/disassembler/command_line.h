// The command line of zoltdis: which image to read, which names and ranges to use, where the
// source goes.
#pragma once

#include <ostream>

#include "driver/file_system.h"

namespace zoltas {

// The source goes to `out`, errors to `errors`. Returns the exit status, 0 or 1; 1 also when
// `out` could not be written.
[[nodiscard]] int runDisassembler(int argc, const char* const* argv, std::ostream& out,
                                  std::ostream& errors, FileSystem& files);

}  // namespace zoltas
