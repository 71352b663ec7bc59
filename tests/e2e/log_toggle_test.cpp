// The log is a record only: for every end-to-end case, assembling in memory with the log off and
// with it on gives the same console text, exit status and files, asm.log aside.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "case_file.h"
#include "driver/file_system.h"
#include "driver/run.h"

namespace fs = std::filesystem;

namespace zoltas::e2e {
namespace {

struct Outcome {
    int status = 0;
    std::string console;
    std::map<std::string, std::string> files;
};

Outcome assemble(const CaseFile& c, bool log) {
    MemoryFileSystem files;
    files.files = c.sources;
    for (const auto& [name, repositoryPath] : c.copies) {
        files.files[name] = readFile(fs::path(ZOLTAS_SOURCE_DIR) / repositoryPath);
    }
    std::vector<std::string> args{"zoltas"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::ostringstream console;
    Outcome outcome;
    outcome.status =
        runAssembler(static_cast<int>(argv.size()), argv.data(), console, files, RunOverrides{log});
    outcome.console = console.str();
    outcome.files = files.files;
    outcome.files.erase("asm.log");
    return outcome;
}

TEST(LogToggle, ChangesNothingButTheLogInEveryCase) {
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(ZOLTAS_CASES_DIR)) {
        if (entry.path().extension() != ".case") {
            continue;
        }
        const CaseFile c = parseCaseFile(readFile(entry.path()));
        if (!c.links.empty()) {
            continue;  // links to devices and missing folders exist only on disk
        }
        if (c.sources.count("asm.log") != 0 ||
            std::find(c.args.begin(), c.args.end(), "asm.log") != c.args.end()) {
            continue;  // there the log would be the source or the output, which must stop the run
        }
        SCOPED_TRACE(entry.path().string());
        const Outcome quiet = assemble(c, false);
        const Outcome logged = assemble(c, true);
        EXPECT_EQ(quiet.status, logged.status);
        EXPECT_EQ(quiet.console, logged.console);
        EXPECT_EQ(quiet.files, logged.files);
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

}  // namespace
}  // namespace zoltas::e2e
