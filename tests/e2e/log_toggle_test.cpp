// The log is a record only: for every end-to-end case, assembling in memory with the log off and
// with it on gives the same console text, exit status and files, asm.log aside.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "case_file.h"
#include "in_memory_run.h"

namespace fs = std::filesystem;

namespace zoltas::e2e {
namespace {

// The run with the log forced off or on; asm.log itself is left out of what is compared.
test::InMemoryRun assemble(const CaseFile& c, bool log) {
    std::map<std::string, std::string> files = c.sources;
    for (const auto& [name, repositoryPath] : c.copies) {
        files[name] = readFile(fs::path(ZOLTAS_SOURCE_DIR) / repositoryPath);
    }
    test::InMemoryRun run = test::runZoltas(std::move(files), c.args, RunOverrides{log});
    run.files.files.erase("asm.log");
    return run;
}

TEST(LogToggle, ChangesNothingButTheLogInEveryCase) {
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(ZOLTAS_CASES_DIR)) {
        if (entry.path().extension() != ".case") {
            continue;
        }
        const CaseFile c = parseCaseFile(readFile(entry.path()));
        if (c.program != "zoltas") {
            continue;
        }
        if (!c.links.empty() || !c.directories.empty()) {
            continue;  // links and folders exist only on disk
        }
        if (c.sources.count("asm.log") != 0 ||
            std::find(c.args.begin(), c.args.end(), "asm.log") != c.args.end()) {
            continue;  // there the log would be the source or the output, which must stop the run
        }
        SCOPED_TRACE(entry.path().string());
        const test::InMemoryRun quiet = assemble(c, false);
        const test::InMemoryRun logged = assemble(c, true);
        EXPECT_EQ(quiet.status, logged.status);
        EXPECT_EQ(quiet.console, logged.console);
        EXPECT_EQ(quiet.files.files, logged.files.files);
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

}  // namespace
}  // namespace zoltas::e2e
