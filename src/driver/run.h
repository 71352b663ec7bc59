// The whole run: command line, log header, the four passes in order, summary and exit status.
#pragma once

#include <ostream>

namespace zoltas {

inline constexpr const char* kVersion = "0.76";

// argv[0] is the program name as invoked. Returns the exit status: 0 after a completed run,
// 1 after any error. Everything the run prints goes to `console`.
[[nodiscard]] int runAssembler(int argc, const char* const* argv, std::ostream& console);

}  // namespace zoltas
