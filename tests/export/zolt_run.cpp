#include "zolt_run.h"

#include "tools/cli/zolt_app.h"

namespace zoltas::test {

int runZolt(const std::vector<std::string>& args, ToolContext& context) {
    std::vector<const char*> argv{"zolt"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    context.status = 0;
    return zoltas::runZolt(static_cast<int>(argv.size()), argv.data(), context);
}

}  // namespace zoltas::test
