// Whole assemblies in memory on inputs too large, or too many, for case files: each ends with
// the specified output or a clear error, never a crash or a hang.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "in_memory_run.h"

namespace zoltas {
namespace {

test::InMemoryRun assemble(std::string source,
                           std::vector<std::string> args = {"prog.asm", "out.rom", "rom"}) {
    return test::runZoltas({{"prog.asm", std::move(source)}}, args);
}

std::string lastLine(const std::string& text) {
    const std::size_t end = text.size() - 1;
    return text.substr(text.rfind('\n', end - 1) + 1, end - text.rfind('\n', end - 1) - 1);
}

TEST(HostileInput, NumbersBeyondThirtyTwoBitsAreErrorsWhereverANumberIsRead) {
    struct Row {
        std::string line;
        std::string error;
    };
    const Row rows[] = {
        {"\tlda 2147483648", "L1\tERROR: Invalid number \"2147483648\""},
        {"\tlda -2147483649", "L1\tERROR: Invalid number \"-2147483649\""},
        {"\tlda 99999999999999999999999", "L1\tERROR: Invalid number \"99999999999999999999999\""},
        {".d 2147483648", "L1\tERROR: Invalid number \"2147483648\""},
        {".d $80000000", "L1\tERROR: Invalid number \"$80000000\""},
        {".d %100000000000000000000000000000000",
         "L1\tERROR: Invalid number \"%100000000000000000000000000000000\""},
        {".c X=-2147483649", "L1\tERROR: Invalid number \"-2147483649\""},
        {".org 2147483648", "L1\tERROR: Invalid number \"2147483648\""},
        {".lim $-80000001", "L1\tERROR: Invalid number \"$-80000001\""},
        {".rel +2147483648", "L1\tERROR: Invalid number \"2147483648\""},
        {".rel --2147483649", "L1\tERROR: Invalid number \"-2147483649\""},
    };
    for (const Row& row : rows) {
        const test::InMemoryRun outcome = assemble(row.line + "\n");
        EXPECT_EQ(outcome.status, 1) << row.line;
        EXPECT_EQ(lastLine(outcome.console), row.error) << row.line;
        EXPECT_EQ(outcome.files.files.count("out.rom"), 0u) << row.line;
    }
}

TEST(HostileInput, ASixtyFourMebibyteLineIsOneLine) {
    std::string source = ";" + std::string(64u << 20, 'x') + "\n\tnop\n";
    test::InMemoryRun outcome = assemble(std::move(source));
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.files.files.at("out.rom"), "M0000=0000\n");
}

TEST(HostileInput, TenMillionShortLines) {
    std::string source;
    source.reserve(40'000'000);
    for (int i = 0; i < 10'000'000; ++i) {
        source += i % 2 == 0 ? "; c\n" : "x\n";
    }
    test::InMemoryRun outcome = assemble(std::move(source));
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.console.find("Assembled file was 10000000 lines"), std::string::npos);
    EXPECT_EQ(outcome.files.files.at("out.rom"), "M0000=0000\n");
}

TEST(HostileInput, NamesOfAHundredThousandCharactersResolve) {
    const std::string name(100'000, 'n');
    std::string upper(100'000, 'N');
    const std::string source =
        name + ":\n.c " + name + "=$1234\n\tjmp /" + upper + "\n\tlda \\" + upper + "\n; end\n";
    const test::InMemoryRun outcome = assemble(source);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.files.files.at("out.rom"),
              "M0000=003b\nM0001=0000\nM0002=0001\nM0003=1234\n"
              "M0004=0000\n");
    EXPECT_EQ(outcome.console.find("WARN"), std::string::npos);
}

TEST(HostileInput, TwoHundredThousandReferencesToOneLabel) {
    std::string source = "lbl:\n";
    for (int i = 0; i < 200'000; ++i) {
        source += "\tjmp /LBL\n.rel -2\n";
    }
    const test::InMemoryRun outcome = assemble(source);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.files.files.at("out.rom"), "M0000=003b\nM0001=0000\nM0002=0000\n");
}

// A source that breaks off part way must not pass for a shorter one: the load error ends the run
// without an output.
TEST(HostileInput, ASourceThatBreaksOffIsALoadError) {
    test::BrokenFileSystem files;
    files.broken = {{"prog.asm", "\tnop\n\tlda $1F\n"}};
    const char* args[] = {"zoltas", "prog.asm", "out.rom", "rom", "log"};
    std::ostringstream console;
    EXPECT_EQ(runAssembler(5, args, console, files), 1);
    EXPECT_EQ(console.str(),
              "Vanta Zolt Assembler v0.76\nStarting parse part 1 of 4...\n"
              "Load error: No such file \"prog.asm\" exists!\n");
    EXPECT_EQ(files.files.count("out.rom"), 0u);
    const std::string& log = files.files.at("asm.log");
    EXPECT_TRUE(log.ends_with("\nError: Specified input file could not be accessed\n")) << log;
}

}  // namespace
}  // namespace zoltas
