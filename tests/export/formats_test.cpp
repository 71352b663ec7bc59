// Every format's bytes for small images, written out from the formats' own descriptions (record
// checksums checked against srec_cat's), where the image goes, and when it does not fit.
#include "tools/export/formats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zoltas {
namespace {

const MemoryImage kThree{0x0000, {0x0001, 0x0002, 0x000F}};

MemoryImage at(std::uint16_t start, std::initializer_list<std::uint16_t> words) {
    return {start, words};
}

ExportRequest req(ExportFormat format) {
    return {.format = format};
}

std::string exported(const MemoryImage& image, const ExportRequest& request) {
    std::string whyNot;
    const auto placement = placeImage(image, request, whyNot);
    EXPECT_TRUE(placement.has_value()) << whyNot;
    return placement ? exportBytes(image, *placement) : whyNot;
}

TEST(ExportFormats, WriteEachFormatAsItsDocumentationDefinesIt) {
    // 16 words from $7ff8: as words they take the bytes $fff0 to $1000f, across 64 KiB.
    const MemoryImage across{0x7FF8,
                             {0x82c9, 0xb791, 0x0ed9, 0xee66, 0x7f83, 0x1a8c, 0x504e, 0x39f6,
                              0xbe5b, 0xf029, 0x7e3e, 0xc2f2, 0x3435, 0x7fa8, 0x06b6, 0x6ef7}};
    const MemoryImage runs{0x0002, {0x0005, 0x0005, 0x0005, 0x0005, 0x0007}};
    struct Case {
        const char* what;
        MemoryImage image;
        ExportRequest request;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"bin: words big-endian", kThree, req(ExportFormat::bin),
         std::string("\x00\x01\x00\x02\x00\x0f", 6)},
        {"bin: words little-endian",
         kThree,
         {.format = ExportFormat::bin, .endian = Endian::little},
         std::string("\x01\x00\x02\x00\x0f\x00", 6)},
        {"bin: the high chip",
         at(0x0000, {0x12ab, 0x34cd}),
         {.format = ExportFormat::bin, .chip = Chip::high},
         "\x12\x34"},
        {"bin: the low chip",
         at(0x0000, {0x12ab, 0x34cd}),
         {.format = ExportFormat::bin, .chip = Chip::low},
         "\xab\xcd"},
        {"bin: from address 0, fill below the start",
         at(0x0002, {0x12ab}),
         {.format = ExportFormat::bin, .chip = Chip::low},
         "\xff\xff\xab"},
        {"bin: re-based to 0",
         at(0x0002, {0x12ab}),
         {.format = ExportFormat::bin, .chip = Chip::low, .offset = 0},
         "\xab"},
        {"bin: a chip of 4 bytes sees the start modulo 4",
         at(0x8001, {0x12ab, 0x34cd}),
         {.format = ExportFormat::bin, .chip = Chip::high, .sizeBytes = 4, .fill = 0x00},
         std::string("\x00\x12\x34\x00", 4)},
        {"bin: words in a chip of 6 bytes",
         at(0x0001, {0x12ab}),
         {.format = ExportFormat::bin, .sizeBytes = 6},
         "\xff\xff\x12\xab\xff\xff"},

        {"ihex: words as bytes", kThree, req(ExportFormat::ihex),
         ":0600000000010002000FE8\n:00000001FF\n"},
        {"ihex: the low chip at $10",
         at(0x0010, {0x0001, 0x0002, 0x000F}),
         {.format = ExportFormat::ihex, .chip = Chip::low},
         ":0300100001020FDB\n:00000001FF\n"},
        {"ihex: an extended address record at 64 KiB", across, req(ExportFormat::ihex),
         ":10FFF00082C9B7910ED9EE667F831A8C504E39F6BE\n:020000040001F9\n"
         ":10000000BE5BF0297E3EC2F234357FA806B66EF79D\n:00000001FF\n"},
        {"ihex-words: word addresses, one word a record", at(0x00FF, {0x0001, 0x0002}),
         req(ExportFormat::ihexWords), ":0200FF000001FE\n:020100000002FB\n:00000001FF\n"},

        {"srec: words as bytes", kThree, req(ExportFormat::srec),
         "S0030000FC\nS109000000010002000FE4\nS9030000FC\n"},
        {"srec: 24-bit addresses past 64 KiB", across, req(ExportFormat::srec),
         "S0030000FC\nS21400FFF082C9B7910ED9EE667F831A8C504E39F6B9\n"
         "S214010000BE5BF0297E3EC2F234357FA806B66EF797\nS804000000FB\n"},
        {"srec: the high chip",
         at(0x0100, {0x1234, 0x5678}),
         {.format = ExportFormat::srec, .chip = Chip::high},
         "S0030000FC\nS1050100125691\nS9030000FC\n"},

        {"logisim", kThree, req(ExportFormat::logisim), "v2.0 raw\n0001 0002 000f\n"},
        {"logisim: runs from four equal words, zeros below the start", runs,
         req(ExportFormat::logisim), "v2.0 raw\n0000 0000 4*0005 0007\n"},
        {"logisim: eight to a line", at(0x0000, {1, 2, 3, 4, 5, 6, 7, 8, 9}),
         req(ExportFormat::logisim), "v2.0 raw\n0001 0002 0003 0004 0005 0006 0007 0008\n0009\n"},
        {"logisim3", kThree, req(ExportFormat::logisim3),
         "v3.0 hex words addressed\n0000: 0001 0002 000f\n"},
        {"logisim3: each line its own address", at(0x00FE, {1, 2, 3, 4, 5, 6, 7, 8, 9}),
         req(ExportFormat::logisim3),
         "v3.0 hex words addressed\n00fe: 0001 0002 0003 0004 0005 0006 0007 0008\n0106: 0009\n"},
        {"readmemh", kThree, req(ExportFormat::readmemh), "@0000\n0001 0002 000f\n"},
        {"readmemh: at the start address", at(0xFFFE, {0xabcd, 0x1234}),
         req(ExportFormat::readmemh), "@fffe\nabcd 1234\n"},
        {"mif", kThree, req(ExportFormat::mif),
         "DEPTH = 3;\nWIDTH = 16;\nADDRESS_RADIX = HEX;\nDATA_RADIX = HEX;\nCONTENT\nBEGIN\n"
         "0000 : 0001;\n0001 : 0002;\n0002 : 000f;\nEND;\n"},
        {"mif: runs as ranges, every address to the depth",
         runs,
         {.format = ExportFormat::mif, .depth = 10},
         "DEPTH = 10;\nWIDTH = 16;\nADDRESS_RADIX = HEX;\nDATA_RADIX = HEX;\nCONTENT\nBEGIN\n"
         "0000 : 0000;\n0001 : 0000;\n[0002..0005] : 0005;\n0006 : 0007;\n0007 : 0000;\n"
         "0008 : 0000;\n0009 : 0000;\nEND;\n"},
        {"coe", kThree, req(ExportFormat::coe),
         "memory_initialization_radix=16;\nmemory_initialization_vector=\n0001, 0002, 000f;\n"},
        {"coe: from address 0, eight to a line",
         at(0x0002, {1, 2, 3, 4, 5, 6, 7}),
         {.format = ExportFormat::coe, .depth = 10},
         "memory_initialization_radix=16;\nmemory_initialization_vector=\n"
         "0000, 0000, 0001, 0002, 0003, 0004, 0005, 0006,\n0007, 0000;\n"},
        {"any format re-based",
         at(0x1234, {0x0001}),
         {.format = ExportFormat::readmemh, .offset = 0x10},
         "@0010\n0001\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(exported(c.image, c.request), c.expected) << c.what;
    }
}

TEST(ExportFormats, RefuseAnImageThatDoesNotFit) {
    const MemoryImage full{0x0000, std::vector<std::uint16_t>(0x10000, 0)};
    struct Case {
        MemoryImage image;
        ExportRequest request;
        std::string error;
    };
    const std::vector<Case> cases = {
        {full,
         {.format = ExportFormat::ihex, .offset = 1},
         "Error: the image ends past $ffff at offset $0001"},
        // $1ffe modulo 8192 is $1ffe: the second word would be past the chip.
        {at(0x1FFE, {1, 2, 3}),
         {.format = ExportFormat::bin, .chip = Chip::high, .sizeBytes = 8192},
         "Error: 3 words at $1ffe do not fit in a chip of 8192 bytes"},
        {kThree,
         {.format = ExportFormat::bin, .sizeBytes = 8191},
         "Error: a chip of 8191 bytes cannot hold whole 16-bit words"},
        {at(0x0002, {1, 2, 3}),
         {.format = ExportFormat::mif, .depth = 4},
         "Error: --depth 4 is less than the 5 words the image needs from address 0"},
    };
    for (const Case& c : cases) {
        std::string whyNot;
        EXPECT_FALSE(placeImage(c.image, c.request, whyNot).has_value()) << c.error;
        EXPECT_EQ(whyNot, c.error);
    }
}

}  // namespace
}  // namespace zoltas
