// zoltdis round trips: disassemble an image, assemble the source again in memory, and get the
// same CROM text or the same HI_/LO_ bytes, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "case_file.h"
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

// Disassembles `image` and assembles the source again as CROM or BIN; the failure message, or
// nothing when the output is the image.
std::optional<std::string> roundTripFailure(const MemoryImage& image, bool crom) {
    std::string whyNot;
    const auto source = disassemble(image, "test", crom, whyNot);
    if (!source) {
        return "not disassembled: " + whyNot;
    }
    std::vector<std::string> args{"dis.asm", "out"};
    if (crom) {
        args.push_back("rom");
    }
    test::InMemoryRun run = test::runZoltas({{"dis.asm", *source}}, args);
    if (run.status != 0) {
        return "assembly failed: " + run.console;
    }
    auto& files = run.files;
    if (crom) {
        if (files.files["out"] != cromText(image)) {
            return "CROM differs";
        }
        return std::nullopt;
    }
    std::string high;
    std::string low;
    for (const std::uint16_t word : image.words) {
        high += static_cast<char>(word >> 8);
        low += static_cast<char>(word & 0xFF);
    }
    if (files.files["HI_out"] != high || files.files["LO_out"] != low) {
        return "BIN differs";
    }
    return std::nullopt;
}

MemoryImage randomImage(std::mt19937& random, std::uint16_t start, std::uint32_t count) {
    MemoryImage image;
    image.start = start;
    for (std::uint32_t k = 0; k < count; ++k) {
        // Mostly opcode words, so that instructions of both sizes meet every boundary.
        const std::uint32_t pick = random() % 4;
        image.words.push_back(
            static_cast<std::uint16_t>(pick < 2 ? random() % 0x102 : random() % 0x10000));
    }
    return image;
}

TEST(Zoltdis, DecodesWordsIntoInstructionsAndData) {
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
    };
    for (const Row& row : rows) {
        std::string whyNot;
        const auto source = disassemble({0, row.words}, "test", true, whyNot);
        ASSERT_TRUE(source.has_value());
        const std::string body = source->substr(source->find('\n', source->find('\n') + 1) + 1);
        EXPECT_EQ(body, row.body);
        EXPECT_EQ(roundTripFailure({0, row.words}, true), std::nullopt);
    }
}

TEST(Zoltdis, RoundTripsThousandsOfRandomImages) {
    std::mt19937 random(20261211);
    for (int i = 0; i < 3000; ++i) {
        const auto count = static_cast<std::uint32_t>(1 + random() % 300);
        const auto start =
            static_cast<std::uint16_t>(i % 3 == 0 ? 0 : random() % (0x10000 - count + 1));
        const MemoryImage image = randomImage(random, start, count);
        EXPECT_EQ(roundTripFailure(image, i % 2 == 0), std::nullopt)
            << "start " << start << ", " << count << " words";
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
        for (int i = 0; i < 3; ++i) {
            const MemoryImage image = randomImage(random, shape.start, shape.count);
            EXPECT_EQ(roundTripFailure(image, i % 2 == 0), std::nullopt)
                << "start " << shape.start << ", " << shape.count << " words";
        }
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
                EXPECT_FALSE(disassemble(image, "test", true, whyNot).has_value());
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

TEST(Zoltdis, ReportsBadInputInTheAssemblersShapes) {
    struct Row {
        std::vector<const char*> args;
        std::string error;
    };
    const Row rows[] = {
        {{"zoltdis"}, "Usage:\n\tzoltdis crom-file\n\tzoltdis [--start address] hi-file lo-file\n"},
        {{"zoltdis", "missing.rom"}, "Load error: No such file \"missing.rom\" exists!\n"},
        {{"zoltdis", "bad.rom"}, "L2\tERROR: Invalid CROM line \"M0001=12\"\n"},
        {{"zoltdis", "gap.rom"}, "L2\tERROR: Address $0002 does not follow the one before\n"},
        {{"zoltdis", "empty.rom"}, "Load error: \"empty.rom\" is empty\n"},
        {{"zoltdis", "HI_a", "LO_b"},
         "Load error: \"HI_a\" has 2 bytes and \"LO_b\" 1; they must be the same length\n"},
        {{"zoltdis", "HI_e", "LO_e"}, "Load error: \"HI_e\" is empty\n"},
        {{"zoltdis", "--start", "$ffff", "HI_a", "LO_a"},
         "Error: 2 words from $ffff run past $ffff\n"},
        {{"zoltdis", "--start", "x", "HI_a", "LO_a"}, "Error: Invalid start address \"x\"\n"},
    };
    for (const Row& row : rows) {
        MemoryFileSystem files;
        files.files = {{"bad.rom", "M0000=0001\nM0001=12\n"},
                       {"gap.rom", "M0000=0001\nM0002=0001\n"},
                       {"empty.rom", ""},
                       {"HI_a", "\x01\x02"},
                       {"LO_a", "\x03\x04"},
                       {"LO_b", "\x05"},
                       {"HI_e", ""},
                       {"LO_e", ""}};
        std::ostringstream out;
        std::ostringstream errors;
        EXPECT_EQ(
            runDisassembler(static_cast<int>(row.args.size()), row.args.data(), out, errors, files),
            1)
            << row.error;
        EXPECT_EQ(errors.str(), row.error);
        EXPECT_EQ(out.str(), "");
    }
}

TEST(Zoltdis, ReadErrorsAndOddNamesAndStartAddresses) {
    struct Row {
        std::vector<const char*> args;
        int status;
        std::string errors;
    };
    const Row rows[] = {
        {{"zoltdis", "broken", "LO_a"}, 1, "Load error: \"broken\" cannot be read\n"},
        {{"zoltdis", "broken"}, 1, "Load error: \"broken\" cannot be read\n"},
        {{"zoltdis", "--start", "0x10", "HI_a", "LO_a"},
         1,
         "Error: Invalid start address \"0x10\"\n"},
        {{"zoltdis", "--start", "12abc", "HI_a", "LO_a"},
         1,
         "Error: Invalid start address \"12abc\"\n"},
        {{"zoltdis", "--start", "%101", "HI_a", "LO_a"}, 0, ""},
        {{"zoltdis", "--start", "65534", "HI_a", "LO_a"}, 0, ""},
        {{"zoltdis", "a\n.org $0100\nb.rom"}, 0, ""},
    };
    for (const Row& row : rows) {
        test::BrokenFileSystem files;
        files.broken = {{"broken", ""}};
        files.files = {{"HI_a", "\x01\x02"},
                       {"LO_a", "\x03\x04"},
                       {"a\n.org $0100\nb.rom", "M0000=0001\nM0001=0002\n"}};
        std::ostringstream out;
        std::ostringstream errors;
        EXPECT_EQ(
            runDisassembler(static_cast<int>(row.args.size()), row.args.data(), out, errors, files),
            row.status)
            << row.args.back();
        EXPECT_EQ(errors.str(), row.errors);
        if (row.status == 0) {
            // The source assembles back: a line feed in the file name stays inside the comment.
            const test::InMemoryRun again =
                test::runZoltas({{"dis.asm", out.str()}}, {"dis.asm", "out", "rom"});
            ASSERT_EQ(again.status, 0) << out.str();
            EXPECT_EQ(out.str().find("\n.org $0100\n"), std::string::npos);
        }
    }
}

TEST(Zoltdis, ReadsABinPairFromTheGivenStart) {
    MemoryFileSystem files;
    files.files = {{"HI_p", std::string("\x00\x00\xff", 3)},
                   {"LO_p", std::string("\x01\x1f\x00", 3)}};
    const char* args[] = {"zoltdis", "--start", "$100", "HI_p", "LO_p"};
    std::ostringstream out;
    std::ostringstream errors;
    ASSERT_EQ(runDisassembler(5, args, out, errors, files), 0) << errors.str();
    EXPECT_EQ(out.str(),
              "; Disassembled by zoltdis from HI_p and LO_p: 3 words, $0100 to $0102.\n"
              "; Assemble with: zoltas THIS-FILE NAME (writes HI_NAME and LO_NAME)\n"
              ".org $0100\n.start\n\tlda $001f\t; $0100\n.d $ff00\t; $0102\n");
}

}  // namespace
}  // namespace zoltas
