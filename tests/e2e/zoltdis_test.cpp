// zoltdis round trips: disassemble an image, assemble the source again in memory, and get the
// same CROM text or the same HI_/LO_ bytes, byte for byte, with no warning on the way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "case_file.h"
#include "disassembler/annotations.h"
#include "disassembler/command_line.h"
#include "disassembler/disassembler.h"
#include "driver/file_system.h"
#include "driver/reporter.h"
#include "in_memory_run.h"

namespace fs = std::filesystem;

namespace zoltas {
namespace {

std::string cromText(const MemoryImage& image) {
    std::string text;
    for (std::size_t k = 0; k < image.words.size(); ++k) {
        text += test::cromLine(static_cast<std::uint16_t>(image.start + k), image.words[k]);
    }
    return text;
}

std::string readRepositoryFile(const std::string& path) {
    std::ifstream file(std::string(ZOLTAS_SOURCE_DIR) + "/" + path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Assembles `source` as zoltas would, CROM or BIN, and checks that it writes `image` without a
// warning; the failure, or nothing.
std::optional<std::string> assemblyFailure(const std::string& source, const MemoryImage& image,
                                           bool crom) {
    std::vector<std::string> args{"dis.asm", "out"};
    if (crom) {
        args.push_back("rom");
    }
    test::InMemoryRun run = test::runZoltas({{"dis.asm", source}}, args);
    if (run.status != 0 || run.console.find("WARN") != std::string::npos) {
        return "assembly failed or warned: " + run.console;
    }
    auto& files = run.files.files;
    if (crom) {
        return files["out"] == cromText(image) ? std::nullopt
                                               : std::optional<std::string>("CROM differs");
    }
    std::string high;
    std::string low;
    for (const std::uint16_t word : image.words) {
        high += static_cast<char>(word >> 8);
        low += static_cast<char>(word & 0xFF);
    }
    if (files["HI_out"] != high || files["LO_out"] != low) {
        return "BIN differs";
    }
    return std::nullopt;
}

// Disassembles `image` and assembles the source again; the failure message, or nothing when the
// output is the image. The readable forms must hold on their own, without the fallback.
std::optional<std::string> roundTripFailure(const MemoryImage& image, bool crom,
                                            const DisassemblyOptions& options = {}) {
    std::string whyNot;
    const auto result = disassemble(image, "test", crom, options, whyNot);
    if (!result) {
        return "not disassembled: " + whyNot;
    }
    if (result->fellBack) {
        return "the readable source did not reassemble";
    }
    if (const auto failure = assemblyFailure(result->source, image, crom)) {
        return *failure + "\n" + result->source.substr(0, 4000);
    }
    return std::nullopt;
}

// Runs zoltdis on files in memory: exit status, standard output, standard error.
struct ToolResult {
    int status;
    std::string out;
    std::string errors;
};

ToolResult runZoltdis(FileSystem& files, std::vector<const char*> args) {
    args.insert(args.begin(), "zoltdis");
    std::ostringstream out;
    std::ostringstream errors;
    const int status =
        runDisassembler(static_cast<int>(args.size()), args.data(), out, errors, files);
    return {status, out.str(), errors.str()};
}

// Images that meet every readable form: opcode-dense stretches, jumps and branches into the
// image, runs of zero words, text with and without a terminator, and fully random words.
MemoryImage randomImage(std::mt19937& random, std::uint16_t start, std::uint32_t count) {
    MemoryImage image;
    image.start = start;
    const auto inside = [&] { return static_cast<std::uint16_t>(start + random() % count); };
    while (image.words.size() < count) {
        const std::uint32_t run = 1 + random() % 12;
        const std::uint32_t kind = random() % 6;
        for (std::uint32_t k = 0; k < run && image.words.size() < count; ++k) {
            std::uint16_t word = 0;
            switch (kind) {
                case 0:  // opcode words, the jumps, branches and returns among them
                    word = static_cast<std::uint16_t>(random() % 0x102);
                    break;
                case 1:  // a jump or branch to somewhere in the image, or an ending
                    word = k % 2 == 0 ? static_cast<std::uint16_t>(
                                            std::array{0x3B, 0x56, 0x49, 0x5D, 0xFF}[random() % 5])
                                      : inside();
                    break;
                case 2:  // a gap
                    break;
                case 3:  // text, ended by 0 now and then
                    word = k + 1 == run && random() % 2 == 0
                               ? 0
                               : static_cast<std::uint16_t>(0x20 + random() % 0x5F);
                    break;
                case 4:  // characters that strings may hold but do not show
                    word = static_cast<std::uint16_t>(
                        std::array{0x0A, 0x0D, 0x09, 0xFFE9, 0xFF80, 0x7F}[random() % 6]);
                    break;
                default:
                    word = static_cast<std::uint16_t>(random() % 0x10000);
                    break;
            }
            image.words.push_back(word);
        }
    }
    return image;
}

// Names and ranges over `image` as a user might give them: labels inside and outside it, some of
// them sharing an address or looking like the made-up ones, constants with values of its words,
// and a few ranges of each kind.
Annotations randomAnnotations(std::mt19937& random, const MemoryImage& image) {
    Annotations notes;
    const auto count = static_cast<std::uint32_t>(image.words.size());
    const auto inside = [&] { return static_cast<std::uint16_t>(image.start + random() % count); };
    for (int k = 0; k < 6; ++k) {
        const std::uint16_t address = k == 5 ? static_cast<std::uint16_t>(random()) : inside();
        static constexpr std::array<std::string_view, 6> kNames = {"loop", "Next", "x;",
                                                                   "",     "",     "top"};
        // One name looks like a made-up one, of some address in the image.
        const std::string name = k == 4 ? joined({"l", hex4(inside())}) : std::string(kNames[k]);
        (void)notes.addLabel({address, name}, "test");
        (void)notes.addConstant({image.words[random() % count], std::string(kNames[k]) + "c"},
                                "test");
    }
    for (int k = 0; k < 3; ++k) {
        const std::uint16_t first = inside();
        const auto last = static_cast<std::uint16_t>(
            std::min<std::uint32_t>(first + random() % 20, image.start + count - 1));
        (void)notes.addRange({first, last, static_cast<RangeKind>(1 + k)}, "test");
    }
    return notes;
}

TEST(Zoltdis, PlainFormDecodesEveryWordInPlace) {
    struct Row {
        std::vector<std::uint16_t> words;
        std::string body;
    };
    const Row rows[] = {
        {{0x0001, 0x001F, 0x00FF}, "\tlda $001f\t; $0000\n\thlt\t; $0002\n"},
        {{0x0020, 0x005F, 0x0060}, "\tngt\t; $0000\n\tpsh\t; $0001\n\tpop\t; $0002\n"},
        {{0x00C4, 0x1234, 0x00FE}, ".d $00c4\t; $0000\n.d $1234\t; $0001\n\tbrk\t; $0002\n"},
        // A two-word instruction cut off by the end, or ending on the last word, is data.
        {{0x0000, 0x003B}, "\tnop\t; $0000\n.d $003b\t; $0001\n"},
        {{0x0001, 0x0002}, ".d $0001\t; $0000\n.d $0002\t; $0001\n"},
        {{0x0001, 0x0002, 0x0000}, "\tlda $0002\t; $0000\n\tnop\t; $0002\n"},
        {{0x003B, 0x0000, 0x0000, 0x0000, 0x0000, 0x001F},
         "\tjmp $0000\t; $0000\n\tnop\t; $0002\n\tnop\t; $0003\n\tnop\t; $0004\n\tor\t; $0005\n"},
    };
    DisassemblyOptions plain;
    plain.readable = false;
    for (const Row& row : rows) {
        std::string whyNot;
        const auto result = disassemble({0, row.words}, "test", true, plain, whyNot);
        ASSERT_TRUE(result.has_value());
        const std::string& source = result->source;
        EXPECT_EQ(source.substr(source.find('\n', source.find('\n') + 1) + 1), row.body);
        EXPECT_EQ(roundTripFailure({0, row.words}, true, plain), std::nullopt);
    }
}

// The places where a readable form must give way so that every word stays where it is.
TEST(Zoltdis, ReadableFormsGiveWayWhereTheImageNeedsIt) {
    struct Row {
        const char* what;
        std::vector<std::uint16_t> words;
        std::string body;
    };
    const Row rows[] = {
        {"a target inside an instruction splits it",
         {0x0056, 0x0003, 0x0001, 0x00FF, 0x00FF},
         "\tbeq /L0003\t; $0000\n.d $0001\t; $0002\nL0003:\n\thlt\t; $0003\n\n.d $00ff\t; "
         "$0004\n"},
        {"a target inside a gap splits it; few zeros in code stay nop",
         {0x003B, 0x0006, 0, 0, 0, 0, 0, 0, 0x00FF},
         "\tjmp /L0006\t; $0000\n\n.org $0006\nL0006:\n\tnop\t; $0006\n\tnop\t; $0007\n\thlt\t; "
         "$0008\n"},
        {"a target outside the image stays a number",
         {0x0049, 0x0100, 0x005D},
         "\tjsr $0100\t; $0000\n\trts\t; $0002\n"},
        {"the last word of the image starts a line after a gap",
         {0x00FF, 0, 0, 0, 0, 0},
         "\thlt\t; $0000\n\n.org $0005\n.d $0000\t; $0005\n"},
        {"a terminator on the last word is a word of its own",
         {0x00FF, 'a', 'b', 'c', 0},
         "\thlt\t; $0000\n\n.s \"abc\"\n.d $0000\t; $0004\n"},
        {"quotes need no escape; two characters are no string",
         {0x005D, '"', 'x', '"', 0, 'o', 'k', 0x00FF},
         "\trts\t; $0000\n\n.z \"\"x\"\"\n.d $006f\t; $0005\n.d $006b\t; $0006\n.d $00ff\t; "
         "$0007\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string whyNot;
        const auto result = disassemble({0, row.words}, "test", true, {}, whyNot);
        ASSERT_TRUE(result.has_value());
        const std::string& source = result->source;
        EXPECT_EQ(source.substr(source.find('\n', source.find('\n') + 1) + 1), row.body);
        EXPECT_EQ(roundTripFailure({0, row.words}, true), std::nullopt);
    }
}

// The bundled examples and a realistic ROM, assembled, then disassembled with and without names
// and ranges: the expected sources in tests/zoltdis were written by hand.
TEST(Zoltdis, ExamplesAndARomReadAsWrittenByHand) {
    struct Row {
        const char* source;
        std::vector<std::string> assembleArgs;  // after the source
        std::vector<const char*> zoltdisArgs;
        const char* expected;
    };
    // The image files of each row: what zoltas wrote, and must write again.
    const auto imagesOf = [](const std::vector<const char*>& zoltdisArgs) {
        std::vector<std::string> images;
        for (std::size_t k = 0; k < zoltdisArgs.size(); ++k) {
            if (zoltdisArgs[k][0] == '-') {
                ++k;
            } else {
                images.emplace_back(zoltdisArgs[k]);
            }
        }
        return images;
    };
    const Row rows[] = {
        {"examples/countdown.asm", {"output.rom", "rom"}, {"output.rom"}, "countdown.dis"},
        {"examples/message.asm",
         {"message.bin"},
         {"HI_message.bin", "LO_message.bin"},
         "message.dis"},
        {"examples/vectors.asm", {"vectors.out", "rom"}, {"vectors.rom"}, "vectors.dis"},
        {"examples/vectors.asm",
         {"vectors.out", "rom"},
         {"--info", "vectors.info", "vectors.rom"},
         "vectors-info.dis"},
        {"tests/zoltdis/rom.asm", {"rom.rom", "rom"}, {"rom.rom"}, "rom.dis"},
        {"tests/zoltdis/rom.asm",
         {"rom.rom", "rom"},
         {"rom.rom", "--symbols", "rom.sym", "--info", "rom.info"},
         "rom-named.dis"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        std::vector<std::string> args{"prog.asm"};
        args.insert(args.end(), row.assembleArgs.begin(), row.assembleArgs.end());
        test::InMemoryRun assembled =
            test::runZoltas({{"prog.asm", readRepositoryFile(row.source)}}, args);
        ASSERT_EQ(assembled.status, 0) << assembled.console;
        MemoryFileSystem& files = assembled.files;
        for (const char* extra : {"vectors.info", "rom.sym", "rom.info"}) {
            files.files[extra] = readRepositoryFile(std::string("tests/zoltdis/") + extra);
        }
        const ToolResult result = runZoltdis(files, row.zoltdisArgs);
        ASSERT_EQ(result.status, 0) << result.errors;
        EXPECT_EQ(result.errors, "");
        EXPECT_EQ(result.out, readRepositoryFile(std::string("tests/zoltdis/") + row.expected));

        // Assembled again, the source gives the very files it was made from.
        // Under the name the image has (vectors.asm renames its output with .out).
        const std::vector<std::string> images = imagesOf(row.zoltdisArgs);
        std::vector<std::string> again{"back.asm",
                                       images.size() == 1 ? images[0] : images[0].substr(3)};
        if (images.size() == 1) {
            again.emplace_back("rom");
        }
        const test::InMemoryRun back = test::runZoltas({{"back.asm", result.out}}, again);
        ASSERT_EQ(back.status, 0) << back.console;
        EXPECT_EQ(back.console.find("WARN"), std::string::npos) << back.console;
        for (const std::string& name : images) {
            ASSERT_EQ(back.files.files.count(name), 1u) << name;
            EXPECT_EQ(back.files.files.at(name), files.files.at(name)) << name;
        }
    }
}

TEST(Zoltdis, RoundTripsRandomImagesWithEveryReadableForm) {
    std::mt19937 random(20261211);
    for (int i = 0; i < 2500; ++i) {
        const auto count = static_cast<std::uint32_t>(1 + random() % 300);
        const auto start =
            static_cast<std::uint16_t>(i % 3 == 0 ? 0 : random() % (0x10000 - count + 1));
        const MemoryImage image = randomImage(random, start, count);
        const Annotations notes = randomAnnotations(random, image);
        DisassemblyOptions options;
        options.readable = i % 5 != 4;
        options.annotations = i % 2 == 0 ? &notes : nullptr;
        EXPECT_EQ(roundTripFailure(image, i % 2 == 0, options), std::nullopt)
            << "start " << start << ", " << count << " words, case " << i;
    }
}

TEST(Zoltdis, RoundTripsImagesThatEndAtTheTopOrReachTheWordLimit) {
    std::mt19937 random(7);
    struct Shape {
        std::uint16_t start;
        std::uint32_t count;
    };
    const Shape shapes[] = {
        {0xFFF0, 16}, {0xFFFF, 1}, {0xFFFD, 3}, {0, 65533},       {2, 65533}, {3, 65533},
        {0, 65536},   {1, 65535},  {2, 65534},  {0x8000, 0x8000}, {65533, 3}, {65534, 2},
    };
    for (const Shape& shape : shapes) {
        for (int i = 0; i < 2; ++i) {
            MemoryImage image = randomImage(random, shape.start, shape.count);
            const Annotations notes = randomAnnotations(random, image);
            DisassemblyOptions options;
            options.annotations = &notes;
            EXPECT_EQ(roundTripFailure(image, i % 2 == 0, options), std::nullopt)
                << "start " << shape.start << ", " << shape.count << " words";
        }
    }
    // Long gaps in a long image: one .org over them would meet the word limit at the next line,
    // so the start address moves along in hops.
    struct Gapped {
        Shape shape;
        std::uint32_t middle;  // a word in the gap, or 0
    };
    for (const Gapped gapped : {Gapped{{0, 65536}, 0}, Gapped{{0, 65535}, 0},
                                Gapped{{1, 65534}, 40000}, Gapped{{2, 65534}, 0}}) {
        const Shape& shape = gapped.shape;
        MemoryImage image{shape.start, std::vector<std::uint16_t>(shape.count, 0)};
        image.words.front() = 0x00FF;
        image.words[gapped.middle] = 0x00FF;
        image.words.back() = 0x0041;
        EXPECT_EQ(roundTripFailure(image, true), std::nullopt) << shape.count;
    }
}

// Below $ffff, the last word of an image longer than the word limit allows must be placed by a
// line that leaves the address wrapped to 0: a string running on to $ffff (a character), or at
// $fffe a two-word instruction. For any other last word no source can write the image.
TEST(Zoltdis, ImagesPastTheWordLimitBelowTheTopNeedAWrappingLastLine) {
    std::mt19937 random(11);
    struct Shape {
        std::uint16_t start;
        std::uint32_t count;
    };
    for (const Shape shape : {Shape{0, 65534}, Shape{0, 65535}, Shape{1, 65534}}) {
        const bool endsAtFffe = shape.start + shape.count - 1 == 0xFFFE;
        struct LastWord {
            std::uint16_t word;
            bool writable;
        };
        const LastWord lastWords[] = {
            {0x0041, true},       {0xFFE9, true},  {0x0000, true},  {0x000D, true},
            {0xFF80, true},       {0x007F, true},  {0x1234, false}, {0xFF7F, false},
            {0x0100, false},      {0x00FE, false},  // brk: one word, not a character
            {0x000A, endsAtFffe},                   // ldbi: two words, but a line feed in a string
            {0x0080, endsAtFffe},                   // ldasx: two words
        };
        for (const LastWord& last : lastWords) {
            MemoryImage image = randomImage(random, shape.start, shape.count);
            image.words.back() = last.word;
            SCOPED_TRACE(std::to_string(shape.start) + " " + std::to_string(shape.count) + " " +
                         std::to_string(last.word));
            if (last.writable) {
                EXPECT_EQ(roundTripFailure(image, true), std::nullopt);
            } else {
                std::string whyNot;
                EXPECT_FALSE(disassemble(image, "test", true, {}, whyNot).has_value());
                EXPECT_NE(whyNot, "");
            }
        }
    }
}

// Every output file that an end-to-end case or example expects disassembles and assembles back.
TEST(Zoltdis, RoundTripsEveryEndToEndOutput) {
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(ZOLTAS_CASES_DIR)) {
        if (entry.path().extension() != ".case") {
            continue;
        }
        const e2e::CaseFile c = e2e::parseCaseFile(e2e::readFile(entry.path()));
        for (const auto& [name, bytes] : c.expectedFiles) {
            SCOPED_TRACE(entry.path().string() + ": " + name);
            if (name.rfind("HI_", 0) == 0 && c.expectedFiles.count("LO_" + name.substr(3)) == 1) {
                const std::string& low = c.expectedFiles.at("LO_" + name.substr(3));
                MemoryImage image;
                for (std::size_t k = 0; k < bytes.size(); ++k) {
                    image.words.push_back(
                        static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[k]) << 8) |
                                                   static_cast<unsigned char>(low[k])));
                }
                EXPECT_EQ(roundTripFailure(image, false), std::nullopt);
                ++checked;
                continue;
            }
            std::istringstream text(bytes);
            std::ostringstream errors;
            const auto image = readCromImage(text, name, errors);
            if (image && name != "asm.log" && c.sources.count(name) == 0) {
                EXPECT_EQ(cromText(*image), bytes);
                EXPECT_EQ(roundTripFailure(*image, true), std::nullopt);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 40);
}

// Something is there under the name, but it cannot be opened as a file (a directory).
class UnopenableFileSystem : public test::BrokenFileSystem {
  public:
    std::unique_ptr<InputFile> openForReading(const std::string& name) override {
        return name == "folder" ? nullptr : BrokenFileSystem::openForReading(name);
    }
    bool exists(const std::string& name) override {
        return name == "folder" || BrokenFileSystem::exists(name);
    }
};

const char kUsageStart[] = "Usage:\n\tzoltdis [options] crom-file\n";

TEST(Zoltdis, SaysWhatIsWrongWithTheCommandLineAndTheImage) {
    struct Row {
        std::vector<const char*> args;
        std::string error;  // the first line of standard error
    };
    const Row rows[] = {
        {{}, "Error: No image file given: a CROM file, or the HI_ and LO_ files of a BIN pair"},
        {{"--plain"},
         "Error: No image file given: a CROM file, or the HI_ and LO_ files of a BIN pair"},
        {{"HI_a", "LO_a", "x.rom"},
         "Error: Too many files: \"x.rom\" follows a BIN pair; an image is one CROM file or two "
         "BIN "
         "files"},
        {{"--start", "5", "ok.rom"},
         "Error: --start is for a BIN pair; a CROM file carries its own addresses"},
        {{"HI_a", "LO_a", "--start"}, "Error: --start needs a value after it"},
        {{"--symbols", "a", "--symbols", "b", "ok.rom"}, "Error: --symbols is given twice"},
        {{"--verbose", "ok.rom"}, "Error: Unknown option \"--verbose\""},
        {{"missing.rom"}, "Load error: No such file \"missing.rom\" exists!"},
        {{"folder"}, "Load error: \"folder\" cannot be read"},
        {{"broken"}, "Load error: \"broken\" cannot be read"},
        {{"broken", "LO_a"}, "Load error: \"broken\" cannot be read"},
        {{"bad.rom"}, "L2\tERROR: Invalid CROM line \"M0001=12\""},
        {{"gap.rom"}, "L2\tERROR: Address $0002 does not follow the one before"},
        {{"empty.rom"}, "Load error: \"empty.rom\" is empty"},
        {{"only-lf.rom"}, "Load error: \"only-lf.rom\" is empty"},
        {{"two-empty.rom"}, "L2\tERROR: Invalid CROM line \"\""},
        // A half of a BIN pair, or a long line, is quoted short and escaped.
        {{"LO_a"}, "L1\tERROR: Invalid CROM line \"\\x03\\x04\""},
        {{"long.rom"}, "L1\tERROR: Invalid CROM line \"M0000=000000...\""},
        {{"binary.rom"}, "L1\tERROR: Invalid CROM line \"\\x00\\xff\\\"\\\\\\x09\""},
        {{"past.rom"}, "L65537\tERROR: Address $0000 does not follow the one before"},
        {{"HI_a", "LO_b"},
         "Load error: \"HI_a\" has 2 bytes and \"LO_b\" 1; they must be the same length"},
        {{"HI_big", "LO_a"},
         "Load error: \"HI_big\" has more than 65536 bytes, one for each word of memory"},
        {{"HI_e", "LO_e"}, "Load error: \"HI_e\" is empty"},
        {{"--start", "$ffff", "HI_a", "LO_a"}, "Error: 2 words from $ffff run past $ffff"},
        {{"--start", "x", "HI_a", "LO_a"}, "Error: Invalid start address \"x\""},
        {{"--start", "0x10", "HI_a", "LO_a"}, "Error: Invalid start address \"0x10\""},
        {{"--start", "65536", "HI_a", "LO_a"}, "Error: Invalid start address \"65536\""},
    };
    std::string past;
    for (std::uint32_t k = 0; k <= 0x10000; ++k) {
        past += test::cromLine(static_cast<std::uint16_t>(k), 0);
    }
    for (const Row& row : rows) {
        UnopenableFileSystem files;
        files.broken = {{"broken", ""}};
        files.files = {{"ok.rom", "M0000=0001\n"},
                       {"bad.rom", "M0000=0001\nM0001=12\n"},
                       {"gap.rom", "M0000=0001\nM0002=0001\n"},
                       {"empty.rom", ""},
                       {"only-lf.rom", "\n"},
                       {"two-empty.rom", "M0000=0001\n\n\n"},
                       {"long.rom", "M0000=" + std::string(100000, '0')},
                       {"binary.rom", std::string("\0\xff\"\\\t\n", 6)},
                       {"past.rom", past},
                       {"HI_a", "\x01\x02"},
                       {"LO_a", "\x03\x04"},
                       {"LO_b", "\x05"},
                       {"HI_big", std::string(0x10001, 'x')},
                       {"HI_e", ""},
                       {"LO_e", ""}};
        const ToolResult result = runZoltdis(files, row.args);
        EXPECT_EQ(result.status, 1) << row.error;
        EXPECT_EQ(result.errors.substr(0, result.errors.find('\n')), row.error);
        EXPECT_EQ(result.out, "");
        // Only a wrong command line is followed by the usage.
        const bool usage = row.error.rfind("Error: ", 0) == 0 && row.args.size() != 4;
        EXPECT_EQ(result.errors.find(kUsageStart) != std::string::npos, usage) << result.errors;
    }
}

TEST(Zoltdis, AcceptsWhatEditorsAndOtherToolsLeave) {
    struct Row {
        std::vector<const char*> args;
        std::string bodyStart;  // the source after its two heading lines
    };
    const Row rows[] = {
        {{"trailing.rom"}, "\tlda $0002\t; $0000\n"},
        {{"crlf.rom"}, "\thlt\t; $0000\n"},
        {{"--", "--odd.rom"}, "\thlt\t; $0000\n"},
        {{"HI_a", "--start", "%101", "LO_a"}, ".org $0005\n.start\n"},
        {{"--start", "65534", "HI_a", "LO_a"}, ".org $8000\n.start\n.org $fffe\n"},
        {{"--plain", "rep.rom"}, "\tnop\t; $0000\n\tnop\t; $0001\n"},
    };
    for (const Row& row : rows) {
        MemoryFileSystem files;
        files.files = {{"trailing.rom", "M0000=0001\nM0001=0002\nM0002=0000\n\n"},
                       {"crlf.rom", "M0000=00FF\r\n"},
                       {"--odd.rom", "M0000=00ff\n"},
                       {"rep.rom", "M0000=0000\nM0001=0000\nM0002=0000\nM0003=0000\nM0004=0001\n"},
                       {"HI_a", "\x01\x02"},
                       {"LO_a", "\x03\x04"}};
        const ToolResult result = runZoltdis(files, row.args);
        ASSERT_EQ(result.status, 0) << result.errors;
        EXPECT_EQ(result.errors, "");
        const std::string body =
            result.out.substr(result.out.find('\n', result.out.find('\n') + 1) + 1);
        EXPECT_EQ(body.substr(0, row.bodyStart.size()), row.bodyStart);
    }
    for (const char* help : {"-h", "--help"}) {
        MemoryFileSystem files;
        const ToolResult result = runZoltdis(files, {"x.rom", help});
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out.rfind(kUsageStart, 0), 0u);
        EXPECT_EQ(result.errors, "");
    }
}

// A line feed in a file name stays inside the heading's comment.
TEST(Zoltdis, OddFileNamesStayInTheComment) {
    MemoryFileSystem files;
    files.files = {{"a\n.org $0100\nb.rom", "M0000=0001\nM0001=0002\n"}};
    const ToolResult result = runZoltdis(files, {"a\n.org $0100\nb.rom"});
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.out.find("\n.org $0100\n"), std::string::npos);
    EXPECT_EQ(assemblyFailure(result.out, {0, {1, 2}}, true), std::nullopt);
}

TEST(Zoltdis, ReportsBadSymbolAndInfoFilesWithTheirLine) {
    struct Row {
        std::string symbols;
        std::string info;
        std::string error;
    };
    const Row rows[] = {
        {"; fine\n\nloop = $0001\nloop =$0002\n", "",
         "s.sym:4: error: expected NAME = $hhhh or \\NAME = $hhhh"},
        {"loop = $001\n", "", "s.sym:1: error: expected NAME = $hhhh or \\NAME = $hhhh"},
        {"a b = $0001\n", "",
         "s.sym:1: error: \"a b\" cannot be referred to: a reference ends at a blank or TAB, or "
         "after "
         "a \";\""},
        {"a:b = $0001\n", "", "s.sym:1: error: a label name cannot hold \":\": \"a:b\""},
        {"\\a=b = $0001\n", "", "s.sym:1: error: a constant name cannot hold \"=\": \"a=b\""},
        {".x = $0001\n", "",
         "s.sym:1: error: a label line cannot start with \";\" or \".\": \".x\""},
        {"Loop = $0001\nLOOP = $0002\n", "",
         "s.sym:2: error: the label \"LOOP\" is already named at s.sym:1"},
        {"\\N = $0001\n\\n = $0002\n", "",
         "s.sym:2: error: the constant \"n\" is already named at s.sym:1"},
        {"", "; ranges\ncode 1 2\nstring 3 4\n",
         "i.info:3: error: unknown entry \"string\"; expected label, code, data or text"},
        {"", "data 1\n", "i.info:1: error: expected data FIRST LAST"},
        {"", "label $0001\n", "i.info:1: error: expected label ADDRESS NAME"},
        {"", "text 1 $10000\n", "i.info:1: error: \"$10000\" is not an address from 0 to 65535"},
        {"", "code 5 4\n", "i.info:1: error: the range ends before it starts"},
        {"", "code 1 4\ndata 4 8 ; overlaps\n",
         "i.info:2: error: the range overlaps the one at i.info:1"},
        {"loop = $0001\n", "label 2 LOOP\n",
         "i.info:1: error: the label \"LOOP\" is already named at s.sym:1"},
    };
    for (const Row& row : rows) {
        MemoryFileSystem files;
        files.files = {{"s.sym", row.symbols}, {"i.info", row.info}, {"ok.rom", "M0000=00ff\n"}};
        const ToolResult result =
            runZoltdis(files, {"--symbols", "s.sym", "--info", "i.info", "ok.rom"});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.errors, row.error + "\n");
        EXPECT_EQ(result.out, "");
    }
    MemoryFileSystem files;
    files.files = {{"ok.rom", "M0000=00ff\n"}};
    EXPECT_EQ(runZoltdis(files, {"--symbols", "none.sym", "ok.rom"}).errors,
              "Load error: No such file \"none.sym\" exists!\n");
}

// Names from the files stand where the assembler reaches them: first names before later ones,
// made-up names apart from given ones, every name defined is used, and names the assembler
// could not tell apart never meet.
TEST(Zoltdis, NamesFromFilesAreTheOnesReferencesReach) {
    // beq $0004 / jsr $0006 / lda $0003 / hlt / rts / .d $0004
    const std::string rom =
        "M0000=0056\nM0001=0004\nM0002=0049\nM0003=0006\nM0004=0001\nM0005=0003\nM0006=00ff\n"
        "M0007=005d\nM0008=0004\n";
    MemoryFileSystem files;
    files.files = {{"p.rom", rom},
                   {"p.sym",
                    "; L0006 is taken, so the made-up name for $0006 is another\n"
                    "L0006 = $0002\n"
                    "main = $0004\n"
                    "start = $0004\n"
                    "AssembleAddress = $0000\n"
                    "unused = $0007\n"
                    "\\three = $0003\n"
                    "\\also = $0003\n"
                    "\\four = $0004\n"
                    "x = $ffff\n"}};
    const ToolResult result = runZoltdis(files, {"--symbols", "p.sym", "p.rom"});
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.out,
              "; Disassembled by zoltdis from p.rom: 9 words, $0000 to $0008.\n"
              "; Assemble with: zoltas THIS-FILE OUTPUT-FILE rom\n"
              ".c three=$0003\n"
              "\tbeq /main\t; $0000\n"
              "; L0006:\n"
              "\tjsr /L0006_\t; $0002\n"
              "main:\n"
              "; start:\n"
              "\tlda \\three\t; $0004\n"
              "L0006_:\n"
              "\thlt\t; $0006\n"
              "\n"
              "; unused:\n"
              ".d $005d\t; $0007\n"
              ".d /main\t; $0008\n");
    EXPECT_EQ(assemblyFailure(result.out, {0, {0x56, 4, 0x49, 6, 1, 3, 0xFF, 0x5D, 4}}, true),
              std::nullopt);
}

}  // namespace
}  // namespace zoltas
