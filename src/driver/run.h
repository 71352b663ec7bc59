// The whole run: command line, log header, the four passes in order, summary and exit status.
#pragma once

#include <optional>
#include <ostream>

#include "driver/file_system.h"

namespace zoltas {

inline constexpr const char* kVersion = "0.76";

// Settings that the command line would give, forced from outside. Tests use them to show that
// the log changes nothing but itself, also where no command line could switch it alone.
struct RunOverrides {
    std::optional<bool> logEnabled;
};

// argv[0] is the program name as invoked. Returns the exit status: 0 after a completed run,
// 1 after any error. Everything the run prints goes to `console`; every file it reads or
// writes goes through `files`. Nothing is thrown out of it, and it never ends the process.
[[nodiscard]] int runAssembler(int argc, const char* const* argv, std::ostream& console,
                               FileSystem& files, const RunOverrides& overrides = {});

}  // namespace zoltas
