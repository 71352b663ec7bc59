// The instruction table is the assembler's whole knowledge of the Zolt CPU: each mnemonic with its
// opcode word and its size in words. The opcode word holds no operand, register or mode bits; an
// instruction of two words takes one operand, which is always the separate second word.
#include "isa/instruction_table.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

namespace zoltas {
namespace {

// One block per row of the opcode map; the comment gives the row's first opcode word. Where two
// mnemonics share an opcode word, both are listed, the usual name first. Opcode words 0x00C4 to
// 0x00FD are unused.
// clang-format off
constexpr InstructionRow kRows[] = {
    // 0x0000
    {"nop", 0x0000, 1},    {"lda", 0x0001, 2},    {"ldb", 0x0002, 2},    {"ldx", 0x0003, 2},
    {"ldy", 0x0004, 2},    {"ldan", 0x0005, 2},   {"ldbn", 0x0006, 2},   {"ldxn", 0x0007, 2},
    // 0x0008
    {"ldyn", 0x0008, 2},   {"ldai", 0x0009, 2},   {"ldbi", 0x000A, 2},   {"ldxi", 0x000B, 2},
    {"ldyi", 0x000C, 2},   {"sta", 0x000D, 2},    {"stb", 0x000E, 2},    {"stx", 0x000F, 2},
    // 0x0010
    {"sty", 0x0010, 2},    {"sts", 0x0011, 2},    {"mova", 0x0012, 2},   {"movb", 0x0013, 2},
    {"movx", 0x0014, 2},   {"movy", 0x0015, 2},   {"swa", 0x0016, 2},    {"swb", 0x0017, 2},
    // 0x0018
    {"swx", 0x0018, 2},    {"swy", 0x0019, 2},    {"add", 0x001A, 1},    {"sub", 0x001B, 1},
    {"adn", 0x001C, 2},    {"sun", 0x001D, 2},    {"and", 0x001E, 1},    {"or", 0x001F, 1},
    // 0x0020
    {"ngt", 0x0020, 1},    {"not", 0x0020, 1},    {"xor", 0x0021, 1},    {"shl", 0x0022, 1},
    {"shr", 0x0023, 1},    {"rol", 0x0024, 1},    {"rlc", 0x0025, 1},    {"ror", 0x0026, 1},
    {"rrc", 0x0027, 1},
    // 0x0028
    {"tab", 0x0028, 1},    {"tba", 0x0029, 1},    {"tax", 0x002A, 1},    {"txa", 0x002B, 1},
    {"tay", 0x002C, 1},    {"tya", 0x002D, 1},    {"tsa", 0x002E, 1},    {"inc", 0x002F, 1},
    // 0x0030
    {"dec", 0x0030, 1},    {"inx", 0x0031, 1},    {"dex", 0x0032, 1},    {"iny", 0x0033, 1},
    {"dey", 0x0034, 1},    {"clc", 0x0035, 1},    {"cle", 0x0036, 1},    {"clr", 0x0037, 1},
    // 0x0038
    {"cls", 0x0038, 1},    {"cid", 0x0039, 1},    {"sid", 0x003A, 1},    {"jmp", 0x003B, 2},
    {"jti", 0x003C, 2},    {"jta", 0x003D, 1},    {"jtb", 0x003E, 1},    {"jax", 0x003F, 2},
    // 0x0040
    {"jsx", 0x0040, 2},    {"jay", 0x0041, 2},    {"jsy", 0x0042, 2},    {"jia", 0x0043, 1},
    {"jib", 0x0044, 1},    {"jiax", 0x0045, 2},   {"jisx", 0x0046, 2},   {"jiay", 0x0047, 2},
    // 0x0048
    {"jisy", 0x0048, 2},   {"jsr", 0x0049, 2},    {"jsi", 0x004A, 2},    {"cpan", 0x004B, 2},
    {"cpbn", 0x004C, 2},   {"cpxn", 0x004D, 2},   {"cpyn", 0x004E, 2},   {"cpai", 0x004F, 2},
    // 0x0050
    {"cpbi", 0x0050, 2},   {"cpxi", 0x0051, 2},   {"cpyi", 0x0052, 2},   {"cpb", 0x0053, 1},
    {"cpx", 0x0054, 1},    {"cpy", 0x0055, 1},    {"beq", 0x0056, 2},    {"bne", 0x0057, 2},
    // 0x0058
    {"bei", 0x0058, 2},    {"bni", 0x0059, 2},    {"bcs", 0x005A, 2},    {"bcc", 0x005B, 2},
    {"bso", 0x005C, 2},    {"rts", 0x005D, 1},    {"rti", 0x005E, 1},    {"psh", 0x005F, 1},
    {"psha", 0x005F, 1},
    // 0x0060
    {"pop", 0x0060, 1},    {"popa", 0x0060, 1},   {"pshrt", 0x0061, 1},  {"poprt", 0x0062, 1},
    {"pshir", 0x0063, 1},  {"popir", 0x0064, 1},  {"pshn", 0x0065, 2},   {"reset", 0x0066, 1},
    {"wait", 0x0067, 1},
    // 0x0068
    {"staax", 0x0068, 2},  {"staay", 0x0069, 2},  {"stbax", 0x006A, 2},  {"stbay", 0x006B, 2},
    {"stasx", 0x006C, 2},  {"stasy", 0x006D, 2},  {"stbsx", 0x006E, 2},  {"stbsy", 0x006F, 2},
    // 0x0070
    {"stai", 0x0070, 2},   {"stbi", 0x0071, 2},   {"stxi", 0x0072, 2},   {"styi", 0x0073, 2},
    {"staiax", 0x0074, 2}, {"staiay", 0x0075, 2}, {"stbiax", 0x0076, 2}, {"stbiay", 0x0077, 2},
    // 0x0078
    {"staisx", 0x0078, 2}, {"staisy", 0x0079, 2}, {"stbisx", 0x007A, 2}, {"stbisy", 0x007B, 2},
    {"ldaax", 0x007C, 2},  {"ldaay", 0x007D, 2},  {"ldbax", 0x007E, 2},  {"ldbay", 0x007F, 2},
    // 0x0080
    {"ldasx", 0x0080, 2},  {"ldasy", 0x0081, 2},  {"ldbsx", 0x0082, 2},  {"ldbsy", 0x0083, 2},
    {"ldaiax", 0x0084, 2}, {"ldaiay", 0x0085, 2}, {"ldbiax", 0x0086, 2}, {"ldbiay", 0x0087, 2},
    // 0x0088
    {"ldaisx", 0x0088, 2}, {"ldaisy", 0x0089, 2}, {"ldbisx", 0x008A, 2}, {"ldbisy", 0x008B, 2},
    {"bgt", 0x008C, 2},    {"bge", 0x008D, 2},    {"blt", 0x008E, 2},    {"ble", 0x008F, 2},
    // 0x0090
    {"bnl", 0x0090, 2},    {"bzs", 0x0091, 2},    {"bzc", 0x0092, 2},    {"cpxy", 0x0093, 1},
    {"snda", 0x0094, 2},   {"sndb", 0x0095, 2},   {"sndx", 0x0096, 2},   {"sndy", 0x0097, 2},
    // 0x0098
    {"rcva", 0x0098, 2},   {"rcvb", 0x0099, 2},   {"rcvx", 0x009A, 2},   {"rcvy", 0x009B, 2},
    {"inb", 0x009C, 1},    {"deb", 0x009D, 1},    {"pshb", 0x009E, 1},   {"popb", 0x009F, 1},
    // 0x00A0
    {"pshx", 0x00A0, 1},   {"popx", 0x00A1, 1},   {"pshy", 0x00A2, 1},   {"popy", 0x00A3, 1},
    {"jtx", 0x00A4, 1},    {"jty", 0x00A5, 1},    {"tbx", 0x00A6, 1},    {"txb", 0x00A7, 1},
    // 0x00A8
    {"tby", 0x00A8, 1},    {"tyb", 0x00A9, 1},    {"txy", 0x00AA, 1},    {"tyx", 0x00AB, 1},
    {"in16", 0x00AC, 1},   {"de16", 0x00AD, 1},   {"inm", 0x00AE, 2},    {"dem", 0x00AF, 2},
    // 0x00B0
    {"rsp", 0x00B0, 1},    {"rvd", 0x00B1, 1},    {"swn", 0x00B2, 1},    {"adm", 0x00B3, 2},
    {"sum", 0x00B4, 2},    {"adi", 0x00B5, 2},    {"sui", 0x00B6, 2},    {"jsph", 0x00B7, 2},
    // 0x00B8
    {"rspop", 0x00B8, 1},  {"sec", 0x00B9, 1},    {"su1", 0x00BA, 1},    {"cu1", 0x00BB, 1},
    {"su2", 0x00BC, 1},    {"cu2", 0x00BD, 1},    {"b1s", 0x00BE, 2},    {"b1c", 0x00BF, 2},
    // 0x00C0
    {"b2s", 0x00C0, 2},    {"b2c", 0x00C1, 2},    {"pshs", 0x00C2, 2},   {"sndn", 0x00C3, 2},
    // 0x00F8
    {"brk", 0x00FE, 1},    {"hlt", 0x00FF, 1},
};
// clang-format on

constexpr std::size_t kMaxMnemonicLength = 6;

// The bytes of a text of at most 6 characters, followed by its length in the low byte, so that
// no two different texts share a key (not even one with a NUL byte in it and a shorter one).
constexpr std::uint64_t packKey(std::string_view text) {
    std::uint64_t key = 0;
    for (const char c : text) {
        key = (key << 8) | static_cast<unsigned char>(c);
    }
    return (key << 8) | text.size();
}

struct KeyedRow {
    std::uint64_t key;
    std::uint16_t index;  // into kRows
};

constexpr auto kRowsByKey = [] {
    std::array<KeyedRow, std::size(kRows)> keyed{};
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        keyed[i] = {packKey(kRows[i].mnemonic), static_cast<std::uint16_t>(i)};
    }
    std::sort(keyed.begin(), keyed.end(),
              [](const KeyedRow& a, const KeyedRow& b) { return a.key < b.key; });
    return keyed;
}();

static_assert(std::all_of(std::begin(kRows), std::end(kRows),
                          [](const InstructionRow& row) {
                              return row.mnemonic.size() >= 2 &&
                                     row.mnemonic.size() <= kMaxMnemonicLength;
                          }),
              "every mnemonic must fit in a key");
static_assert(std::adjacent_find(kRowsByKey.begin(), kRowsByKey.end(),
                                 [](const KeyedRow& a, const KeyedRow& b) {
                                     return a.key == b.key;
                                 }) == kRowsByKey.end(),
              "mnemonics must be unique");

}  // namespace

std::span<const InstructionRow> instructionTable() {
    return kRows;
}

const InstructionRow* findInstruction(std::string_view mnemonic) {
    if (mnemonic.empty() || mnemonic.size() > kMaxMnemonicLength) {
        return nullptr;
    }
    const std::uint64_t key = packKey(mnemonic);
    const auto found =
        std::lower_bound(kRowsByKey.begin(), kRowsByKey.end(), key,
                         [](const KeyedRow& row, std::uint64_t k) { return row.key < k; });
    if (found == kRowsByKey.end() || found->key != key) {
        return nullptr;
    }
    return &kRows[found->index];
}

}  // namespace zoltas
