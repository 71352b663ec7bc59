// libFuzzer entry: one whole assembly in memory per input. The first byte picks the command line,
// the rest is the source. Every input is assembled twice, with the log off and on, and the two
// runs must agree on everything but asm.log.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "driver/file_system.h"
#include "driver/run.h"

namespace {

struct Outcome {
    int status = 0;
    std::string console;
    zoltas::MemoryFileSystem files;
};

Outcome assemble(const std::vector<std::string>& args, const std::string& source, bool log) {
    Outcome outcome;
    outcome.files.files["prog.asm"] = source;
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::ostringstream console;
    outcome.status = zoltas::runAssembler(static_cast<int>(argv.size()), argv.data(), console,
                                          outcome.files, zoltas::RunOverrides{log});
    outcome.console = console.str();
    outcome.files.files.erase("asm.log");
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t shape = data[0];
    const std::string source(reinterpret_cast<const char*>(data + 1), size - 1);

    // Argument count 1 to 6; the output name is usually "out", sometimes the source itself.
    std::vector<std::string> args{"zoltas", "prog.asm", (shape & 8) != 0 ? "prog.asm" : "out",
                                  "rom",    "log",      "nowarn"};
    args.resize(1 + shape % 6);

    const Outcome quiet = assemble(args, source, false);
    const Outcome logged = assemble(args, source, true);
    if (quiet.status != 0 && quiet.status != 1) {
        std::abort();
    }
    // Only an output that would be the log itself (".out asm.log") may make the two differ.
    const bool outputIsLog =
        logged.console.find("Won't overwrite the log file") != std::string::npos;
    if (!outputIsLog && (quiet.status != logged.status || quiet.console != logged.console ||
                         quiet.files.files != logged.files.files)) {
        std::abort();  // the log changed something other than itself
    }
    if (quiet.files.files.at("prog.asm") != source) {
        std::abort();  // the source was overwritten
    }
    return 0;
}
