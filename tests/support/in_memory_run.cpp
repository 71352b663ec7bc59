#include "in_memory_run.h"

#include <sstream>

namespace zoltas::test {

InMemoryRun runZoltas(std::map<std::string, std::string> files,
                      const std::vector<std::string>& args, const RunOverrides& overrides) {
    InMemoryRun run;
    run.files.files = std::move(files);
    std::vector<const char*> argv{"zoltas"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::ostringstream console;
    run.status =
        runAssembler(static_cast<int>(argv.size()), argv.data(), console, run.files, overrides);
    run.console = console.str();
    return run;
}

}  // namespace zoltas::test
