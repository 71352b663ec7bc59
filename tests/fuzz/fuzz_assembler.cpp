// libFuzzer entry: one whole assembly in memory per input. The first byte picks the command line,
// the rest is the source. Every input is assembled twice, with the log off and on, and the two
// runs must agree on everything but asm.log; and zolt check's analysis must agree with zoltas.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "check_agreement.h"
#include "in_memory_run.h"

namespace {

zoltas::test::InMemoryRun assemble(const std::vector<std::string>& args, const std::string& source,
                                   bool log) {
    auto run = zoltas::test::runZoltas({{"prog.asm", source}}, args, zoltas::RunOverrides{log});
    run.files.files.erase("asm.log");
    return run;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t shape = data[0];
    const std::string source(reinterpret_cast<const char*>(data + 1), size - 1);

    // Argument count 1 to 6; the output name is usually "out", sometimes the source itself.
    std::vector<std::string> args{"prog.asm", (shape & 8) != 0 ? "prog.asm" : "out", "rom", "log",
                                  "nowarn"};
    args.resize(shape % 6);

    const auto quiet = assemble(args, source, false);
    const auto logged = assemble(args, source, true);
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
    // zolt check must find an error exactly when zoltas does, and zoltas's error first.
    if (!zoltas::test::checkDisagreement({{"prog.asm", source}}).empty()) {
        std::abort();
    }
    return 0;
}
