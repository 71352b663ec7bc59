// Whole assemblies on inputs too large, too many or too strange for case files (in memory, or on
// disk where pipes and links are the point): each ends with the specified output or a clear
// error, never a crash, a hang or a lost file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
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

// A fresh directory on disk for the tests that need real files, links and pipes.
struct DiskDirectory {
    std::filesystem::path path;
    DiskDirectory() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/zoltas-disk-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path = pattern;
    }
    ~DiskDirectory() { std::filesystem::remove_all(path); }
};

int runOnDisk(const DiskDirectory& dir, std::vector<const char*> args, std::string& console) {
    DiskFileSystem files(dir.path);
    std::ostringstream out;
    const int status = runAssembler(static_cast<int>(args.size()), args.data(), out, files);
    console = out.str();
    return status;
}

// A pipe that is both the source and the output: refused like any other file that is the
// source, instead of waiting forever to write into a pipe that nobody reads any more.
TEST(HostileInput, APipeThatIsSourceAndOutputIsRefused) {
    const DiskDirectory dir;
    const std::string fifo = (dir.path / "f.asm").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] {
        std::ofstream out(fifo, std::ios::binary);
        for (int i = 0; i < 9000; ++i) {
            out << "\tnop\n";
        }
    });
    std::string console;
    const int status = runOnDisk(dir, {"zoltas", "f.asm", "f.asm", "rom"}, console);
    writer.join();
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(console.ends_with("Write error: Won't overwrite the source file \"f.asm\"!\n"))
        << console;
}

// While zoltas runs, another process swaps out.rom between a link to the source and a link to
// another file. Whichever file the output name reaches when it is opened is the one compared with
// the source, so the source is never written, however the swaps fall.
TEST(HostileInput, ALinkSwappedDuringTheRunNeverReachesTheSource) {
    const DiskDirectory dir;
    const std::string source = "\tlda $1234\n; end\n";
    std::ofstream(dir.path / "src.asm", std::ios::binary) << source;
    std::filesystem::create_symlink("src.asm", dir.path / "to-source");
    std::filesystem::create_symlink("other.rom", dir.path / "to-other");
    std::atomic<bool> done{false};
    std::thread swapper([&] {
        // rename() replaces out.rom in one step; copies of the two links are made first.
        for (int i = 0; !done; ++i) {
            const auto from = dir.path / (i % 2 == 0 ? "to-source" : "to-other");
            const auto copy = dir.path / "next-link";
            std::error_code error;
            std::filesystem::remove(copy, error);
            std::filesystem::copy_symlink(from, copy, error);
            std::filesystem::rename(copy, dir.path / "out.rom", error);
        }
    });
    // Runs until the swaps have fallen both ways often, within a bound.
    int refused = 0;
    int written = 0;
    for (int run = 0; run < 20000 && (refused < 50 || written < 50); ++run) {
        std::string console;
        const int status = runOnDisk(dir, {"zoltas", "src.asm", "out.rom", "rom"}, console);
        (status == 0 ? written : refused) += 1;
    }
    done = true;
    swapper.join();
    std::ifstream in(dir.path / "src.asm", std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, source);
    EXPECT_GE(refused, 50);
    EXPECT_GE(written, 50);
}

}  // namespace
}  // namespace zoltas
