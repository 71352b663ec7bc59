#include "isa/instruction_table.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace zoltas {
namespace {

using namespace std::string_view_literals;

TEST(InstructionTable, SpotChecksAgainstTheMap) {
    struct Case {
        std::string_view mnemonic;
        std::uint16_t opcodeWord;
        std::uint8_t wordCount;
    };
    const Case cases[] = {
        {"nop", 0x0000, 1},    {"lda", 0x0001, 2},  {"sts", 0x0011, 2},   {"add", 0x001A, 1},
        {"sub", 0x001B, 1},    {"adn", 0x001C, 2},  {"sun", 0x001D, 2},   {"or", 0x001F, 1},
        {"jmp", 0x003B, 2},    {"jta", 0x003D, 1},  {"reset", 0x0066, 1}, {"staiax", 0x0074, 2},
        {"ldbisy", 0x008B, 2}, {"cpxy", 0x0093, 1}, {"in16", 0x00AC, 1},  {"jsph", 0x00B7, 2},
        {"rspop", 0x00B8, 1},  {"b2c", 0x00C1, 2},  {"sndn", 0x00C3, 2},  {"brk", 0x00FE, 1},
        {"hlt", 0x00FF, 1},
    };
    for (const Case& c : cases) {
        const InstructionRow* row = findInstruction(c.mnemonic);
        ASSERT_NE(row, nullptr) << c.mnemonic;
        EXPECT_EQ(row->opcodeWord, c.opcodeWord) << c.mnemonic;
        EXPECT_EQ(row->wordCount, c.wordCount) << c.mnemonic;
    }
}

TEST(FindInstruction, FindsEveryRowByItsMnemonic) {
    for (const InstructionRow& row : instructionTable()) {
        EXPECT_EQ(findInstruction(row.mnemonic), &row) << row.mnemonic;
        // The lookup honours the view's length, not a terminating NUL.
        const std::string padded = std::string(row.mnemonic) + "x";
        EXPECT_EQ(findInstruction(std::string_view(padded).substr(0, row.mnemonic.size())), &row)
            << row.mnemonic;
    }
}

TEST(FindInstruction, RejectsTextsThatAreNotMnemonics) {
    const std::string_view texts[] = {
        "",   "xyz", "LDA", "Nop", "abcdefg", "ldaiaxx", "ldbisyy", "nop ",    " nop",    "nop\t",
        "ld", "n",   "o",   ";",   ".nop",    "or\0"sv,  "\0or"sv,  "lda\0"sv, "ldaisx1", "ldai6",
    };
    for (const std::string_view text : texts) {
        EXPECT_EQ(findInstruction(text), nullptr) << '"' << text << '"';
    }
}

// The README's opcode map is the users' copy of the table: it must say exactly what the code does.
TEST(InstructionTable, AgreesWithTheReadmeOpcodeMap) {
    std::ifstream readme(ZOLTAS_SOURCE_DIR "/README.md");
    ASSERT_TRUE(readme.is_open());
    std::vector<InstructionRow> documented;
    std::vector<std::string> names;  // keeps the views in `documented` valid
    names.reserve(256);
    std::string line;
    while (std::getline(readme, line)) {
        if (line.rfind("| 0x", 0) != 0) {
            continue;
        }
        std::istringstream cells(line.substr(1));
        std::string cell;
        std::getline(cells, cell, '|');
        unsigned opcode = std::stoul(cell, nullptr, 16);
        while (std::getline(cells, cell, '|')) {
            if (cell.find_first_not_of(' ') == std::string::npos) {
                continue;  // after the last column
            }
            if (cell.find('`') != std::string::npos) {
                // "`ngt`, `not` 1": one row per mnemonic, all with the cell's word count.
                const auto count =
                    static_cast<std::uint8_t>(cell[cell.find_last_not_of(' ')] - '0');
                for (std::size_t open = cell.find('`'); open != std::string::npos;
                     open = cell.find('`', cell.find('`', open + 1) + 1)) {
                    const std::size_t close = cell.find('`', open + 1);
                    names.push_back(cell.substr(open + 1, close - open - 1));
                    documented.push_back({names.back(), static_cast<std::uint16_t>(opcode), count});
                }
            }
            ++opcode;
        }
    }
    const auto table = instructionTable();
    ASSERT_EQ(documented.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(documented[i].mnemonic, table[i].mnemonic) << "row " << i;
        EXPECT_EQ(documented[i].opcodeWord, table[i].opcodeWord) << table[i].mnemonic;
        EXPECT_EQ(documented[i].wordCount, table[i].wordCount) << table[i].mnemonic;
    }
}

}  // namespace
}  // namespace zoltas
