// zolt export in memory: each case gives the files, the command line, and everything the run
// must leave: the exit status, both output streams and every file afterwards.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "driver/file_system.h"
#include "zolt_run.h"

namespace zoltas {
namespace {

// A disk that is full: no file can be written.
class FullFileSystem : public MemoryFileSystem {
  public:
    bool writeFileAtomically(const std::string&, std::string_view) override { return false; }
};

struct Outcome {
    int status = 0;
    std::string out;
    std::string err;
    std::map<std::string, std::string> files;
};

Outcome run(MemoryFileSystem& files, const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    ToolContext context{files, out, err};
    Outcome outcome;
    outcome.status = test::runZolt(args, context);
    outcome.out = out.str();
    outcome.err = err.str();
    outcome.files = files.files;
    return outcome;
}

// nop; lda $1234; hlt: four words from 0.
const std::string kSource = "\tnop\n\tlda $1234\n\thlt\n";
const std::string kCrom = "M0010=0003\nM0011=000a\n";

struct Case {
    const char* what;
    std::map<std::string, std::string> files;
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
    std::map<std::string, std::string> written;  // files the run adds or changes
};

TEST(ExportCommand, ReadsEachInputKindAndWritesWhereItIsTold) {
    const std::vector<Case> cases = {
        {"a source, assembled as zoltas would, to standard output",
         {{"prog.asm", kSource}},
         {"export", "-f", "readmemh", "prog.asm"},
         0,
         "@0000\n0000 0001 1234 00ff\n",
         "",
         {}},
        {"a source's warnings and notes are not the export's",
         {{"prog.asm", ".mess hello\nunused:\n\tnop\n"}},
         {"export", "-f", "readmemh", "prog.asm"},
         0,
         "@0000\n0000\n",
         "",
         {}},
        {"a CROM file, told by its first line, at its own addresses",
         {{"prog.rom", kCrom}},
         {"export", "-f", "logisim", "prog.rom"},
         0,
         "v2.0 raw\n16*0000 0003 000a\n",
         "",
         {}},
        {"a CROM file with CR LF line ends",
         {{"prog.rom", "M0010=0003\r\nM0011=000a\r\n"}},
         {"export", "-f", "readmemh", "prog.rom"},
         0,
         "@0010\n0003 000a\n",
         "",
         {}},
        {"a HI_/LO_ pair from --start, the low chip in S-records",
         {{"HI_p", "\x12\x34"}, {"LO_p", "\x56\x78"}},
         {"export", "-f", "srec", "--chip", "low", "--start", "0x100", "HI_p", "LO_p"},
         0,
         "S0030000FC\nS105010056782B\nS9030000FC\n",
         "",
         {}},
        {"-o writes the file and nothing to standard output",
         {{"prog.asm", kSource}, {"out.mem", "an older file"}},
         {"export", "-f", "readmemh", "-o", "out.mem", "prog.asm"},
         0,
         "",
         "",
         {{"out.mem", "@0000\n0000 0001 1234 00ff\n"}}},
        {"a chip named by its part, image at its start modulo the size, filled",
         {{"prog.rom", "M2001=12ab\n"}},
         {"export", "-f", "bin", "--chip", "high", "--size", "at28c16", "--fill", "$00", "-o",
          "hi.bin", "prog.rom"},
         0,
         "",
         "",
         {{"hi.bin", std::string(1, '\0') + "\x12" + std::string(2046, '\0')}}},
        {"whole words little-endian, re-based to 0",
         {{"prog.rom", kCrom}},
         {"export", "-f", "bin", "--endian", "little", "--offset", "0", "-o", "w.bin", "prog.rom"},
         0,
         "",
         "",
         {{"w.bin", std::string("\x03\x00\x0a\x00", 4)}}},
    };
    for (const Case& c : cases) {
        MemoryFileSystem files;
        files.files = c.files;
        const Outcome outcome = run(files, c.args);
        EXPECT_EQ(outcome.status, c.status) << c.what;
        EXPECT_EQ(outcome.out, c.out) << c.what;
        EXPECT_EQ(outcome.err, c.err) << c.what;
        std::map<std::string, std::string> expected = c.files;
        for (const auto& [name, bytes] : c.written) {
            expected[name] = bytes;
        }
        EXPECT_EQ(outcome.files, expected) << c.what;
    }
}

// Every failure is a message on the error stream (one line of this program's own, CLI11's with
// its hint) and status 1, and no file is written.
TEST(ExportCommand, RefusesWhatItCannotDo) {
    const std::map<std::string, std::string> given = {
        {"prog.asm", kSource}, {"prog.rom", kCrom}, {"HI_p", "\x12"}, {"LO_p", "\x56\x78"}};
    struct Refusal {
        std::vector<std::string> args;
        std::string err;
    };
    const std::vector<Refusal> refusals = {
        {{"export", "-f", "pdf", "prog.asm"},
         "Error: --format: pdf not in {bin,ihex,ihex-words,srec,logisim,logisim3,readmemh,mif,coe} "
         "(\"zolt --help\" shows the usage)\n"},
        {{"export", "prog.asm"}, "Error: --format is required (\"zolt --help\" shows the usage)\n"},
        {{"export", "-f", "mif", "a", "b", "c"},
         "Error: INPUT: At Most 2 required but received 3 (\"zolt --help\" shows the usage)\n"},
        {{"export", "-f", "logisim", "--chip", "high", "prog.asm"},
         "Error: --chip applies to bin, ihex and srec only\n"},
        {{"export", "-f", "bin", "--chip", "low", "--endian", "little", "-o", "x", "prog.asm"},
         "Error: --endian applies to bin without --chip only\n"},
        {{"export", "-f", "ihex", "--fill", "0", "prog.asm"},
         "Error: --fill applies to bin only\n"},
        {{"export", "-f", "srec", "--size", "2764", "prog.asm"},
         "Error: --size applies to bin only\n"},
        {{"export", "-f", "coe", "--start", "0", "prog.asm"},
         "Error: --start applies to a HI_/LO_ pair only\n"},
        {{"export", "-f", "ihex", "--depth", "8", "prog.asm"},
         "Error: --depth applies to mif and coe only\n"},
        {{"export", "-f", "bin", "--fill", "256", "-o", "x", "prog.asm"},
         "Error: Invalid --fill \"256\": give a whole number from 0 to 255\n"},
        {{"export", "-f", "ihex", "--offset", "$1x", "prog.asm"},
         "Error: Invalid --offset \"$1x\": give a whole number from 0 to 65535\n"},
        {{"export", "-f", "mif", "--depth", "0", "prog.asm"},
         "Error: Invalid --depth \"0\": give a whole number from 1 to 65536\n"},
        {{"export", "-f", "bin", "--size", "27C999", "-o", "x", "prog.asm"},
         "Error: Invalid --size \"27C999\": give a number of bytes up to 16 MiB or a part such "
         "as 2764, 27C256, 28C64, 28C256\n"},
        {{"export", "-f", "bin", "prog.asm"}, "Error: bin is binary and needs -o FILE\n"},
        {{"export", "-f", "ihex", "missing.asm"},
         "Load error: No such file \"missing.asm\" exists!\n"},
        {{"export", "-f", "ihex", "HI_p", "LO_p"},
         "Load error: \"HI_p\" has 1 bytes and \"LO_p\" 2; they must be the same length\n"},
        {{"export", "-f", "ihex", "-o", "./prog.asm", "prog.asm"},
         "Write error: Won't replace the input file \"./prog.asm\"\n"},
        {{"export", "-f", "bin", "--chip", "high", "--size", "2", "-o", "x", "prog.asm"},
         "Error: 4 words at $0000 do not fit in a chip of 2 bytes\n"},
    };
    for (const Refusal& refusal : refusals) {
        MemoryFileSystem files;
        files.files = given;
        const Outcome outcome = run(files, refusal.args);
        EXPECT_EQ(outcome.status, 1) << refusal.err;
        EXPECT_EQ(outcome.out, "") << refusal.err;
        EXPECT_EQ(outcome.err, refusal.err);
        EXPECT_EQ(outcome.files, given) << refusal.err;
    }
}

// The error a source ends with is zoltas's own, line number and all.
TEST(ExportCommand, ReportsASourceErrorAsZoltasDoes) {
    const std::map<std::string, std::string> sources = {
        {"\tnop\n\tfoo\n", "L2\tERROR: Invalid instruction foo!\n"},
        {"\tjmp /nowhere\n", "Error: Undefined label \"nowhere\"\n"},
        {"M0000=0003\nM0002=0004\n", "L2\tERROR: Address $0002 does not follow the one before\n"},
    };
    for (const auto& [source, error] : sources) {
        MemoryFileSystem files;
        files.files["in"] = source;
        const Outcome outcome = run(files, {"export", "-f", "ihex", "-o", "out.hex", "in"});
        EXPECT_EQ(outcome.status, 1) << source;
        EXPECT_EQ(outcome.err, error) << source;
        EXPECT_EQ(outcome.files.count("out.hex"), 0u) << source;
    }
}

TEST(ExportCommand, SaysWhenTheFileCannotBeWritten) {
    FullFileSystem files;
    files.files["prog.asm"] = kSource;
    const Outcome outcome = run(files, {"export", "-f", "ihex", "-o", "out.hex", "prog.asm"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err,
              "Write error: \"out.hex\" could not be written; an existing file is left as it "
              "was\n");
}

}  // namespace
}  // namespace zoltas
