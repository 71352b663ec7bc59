// zolt check never disagrees with zoltas: it finds an error exactly when zoltas, run as
// `zoltas SOURCE output.rom rom`, ends with status 1, and zoltas's error is among its errors, as
// the first, with zoltas's exact text, at the line zoltas names.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "case_file.h"
#include "check_agreement.h"

namespace fs = std::filesystem;

namespace zoltas {
namespace {

TEST(CheckAgreesWithZoltas, OnEverySourceOfTheEndToEndCases) {
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(ZOLTAS_CASES_DIR)) {
        if (entry.path().extension() != ".case") {
            continue;
        }
        const e2e::CaseFile c = e2e::parseCaseFile(e2e::readFile(entry.path()));
        if (c.program != "zoltas" || c.args.empty() || c.sources.count(c.args[0]) == 0) {
            continue;
        }
        std::map<std::string, std::string> files{{"prog.asm", c.sources.at(c.args[0])}};
        EXPECT_EQ(test::checkDisagreement(files), "") << entry.path();
        ++checked;
    }
    EXPECT_GT(checked, 60);
}

// Random sources made of the pieces where zoltas's rules have their edges.
TEST(CheckAgreesWithZoltas, OnGeneratedSources) {
    const std::vector<std::string> pieces = {
        "\tlda 5",
        "\tlda /x",
        "\tjmp /y",
        "\tldb \\K",
        "\tnop",
        "\tfoo",
        "\tlda",
        "\tlda ;",
        "\tlda $zz",
        "x:",
        "y:",
        "X",
        " z:",
        ".c K=3",
        ".c K = 4",
        ".c J=$q",
        ".d /x",
        ".d \\K",
        ".d 70000",
        ".d 12abc",
        ".z 'ab'",
        ".s \"it's\"",
        ".a Q",
        ".org $fff0",
        ".org 2",
        ".org",
        ".rel +3",
        ".rel *3",
        ".rel",
        ".lim 40",
        ".lim",
        ".out",
        ".out prog.asm",
        ".out other.rom",
        ".start",
        ".align",
        ".end",
        ".ab",
        ".END",
        ".binary",
        "; comment",
        "",
        "ab",
        "\t;",
        ".mess hi",
        ".d /AssembleAddress",
        "\tjmp /nowhere",
        ".cshow",
        ".nowarn",
    };
    std::mt19937 random(14);
    for (int i = 0; i < 1500; ++i) {
        std::string source;
        const int lines = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < lines; ++k) {
            source += pieces[random() % pieces.size()] + "\n";
        }
        std::map<std::string, std::string> files{{"prog.asm", source}};
        if (random() % 4 == 0) {
            files["other.rom"] = "M0000=0000\n";
        }
        ASSERT_EQ(test::checkDisagreement(files), "") << source;
    }
}

}  // namespace
}  // namespace zoltas
