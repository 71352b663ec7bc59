#include "source/syntax.h"

#include "source/assembly_state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zoltas {
namespace {

using namespace std::string_literals;

TEST(TokenEnd, EndsAtFirstSeparatorUnlessItIsTheLastCharacter) {
    struct Row {
        std::string text;
        std::size_t end;
    };
    const Row rows[] = {
        {"", 0},    {"lda 5", 3},    {"nop", 3},   {"nop ", 4},      {" lda", 0},
        {";", 1},   {"lda;5", 3},    {"a b c", 1}, {"\t", 1},        {"\tx", 0},
        {"ab;", 3}, {"lda\t$1F", 3}, {"x", 1},     {"jmp /a ;c", 3}, {"  ", 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(tokenEnd(row.text), row.end) << '"' << row.text << '"';
    }
}

TEST(ReadNumber, ReadsLikeStrtolWithPrefixBase) {
    struct Row {
        std::string text;
        std::int32_t value;
    };
    const Row rows[] = {
        {"42", 42},
        {"$2A", 42},
        {"$2a", 42},
        {"$0x2A", 42},
        {"$0X2a", 42},
        {"%101010", 42},
        {"-1", -1},
        {"+7", 7},
        {"$-1F", -31},
        {"12abc", 12},
        {"%102", 2},
        {"0x10", 0},  // a decimal reading stops at the x
        {"$1F ; comment", 31},
        {" 5", 5},
        {"\t\n\v\f\r 9", 9},
        {"-2147483648", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"$7FFFFFFF", INT32_MAX},
        {"$-80000000", INT32_MIN},
        {"$0xg", 0},  // "0x" without a hex digit after it: the 0 is the number
        {"$0x", 0},
        {"007", 7},
        {"65536", 65536},
        {"5;", 5},
    };
    for (const Row& row : rows) {
        const auto value = readNumber(row.text);
        ASSERT_TRUE(value.has_value()) << '"' << row.text << '"';
        EXPECT_EQ(*value, row.value) << '"' << row.text << '"';
    }
}

TEST(ReadNumber, RejectsTextsWithoutDigitsOrOutOfRange) {
    const std::string rows[] = {
        "",     "$",          "%",         "abc",         "%2",
        "-$10", "2147483648", "$80000000", "-2147483649", " $5",
        "+",    "-",          "$ ",        ";5",          "99999999999999999999",
        "$-",   "x1",         "$g",
    };
    for (const std::string& text : rows) {
        EXPECT_EQ(readNumber(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(ToWord, KeepsTheLowSixteenBits) {
    EXPECT_EQ(toWord(-1), 0xFFFF);
    EXPECT_EQ(toWord(65536), 0x0000);
    EXPECT_EQ(toWord(70000), 0x1170);
    EXPECT_EQ(toWord(INT32_MIN), 0x0000);
}

TEST(ReferenceName, CutsAtBlankOrTabAndKeepsASemicolon) {
    struct Row {
        std::string token;
        std::string name;
    };
    const Row rows[] = {
        {"/loop", "loop"},
        {"/loop ; comment", "loop"},
        {"\\Count\t", "Count"},
        {"/loop;back", "loop;"},
        {"/loop;", "loop;"},
        {"/", ""},
        {"/ loop", ""},
        {"\\\tx", ""},
        {"\\", ""},
        {"/;", ";"},
        {"/a\tb c", "a"},
        {"/\xE9t\xE9 x", "\xE9t\xE9"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(referenceName(row.token), row.name) << '"' << row.token << '"';
    }
}

TEST(FindName, FoldsOnlyAsciiLettersAndTakesTheFirstMatch) {
    NameList names;
    for (const char* name : {"AssembleAddress", "Loop", "loop", "\xC9t\xC9", "a_B"}) {
        names.push_back(name);
    }
    struct Row {
        std::string name;
        std::optional<std::size_t> index;
    };
    const Row rows[] = {
        {"LOOP", 1},
        {"assembleaddress", 0},
        {"Loop ", std::nullopt},
        {"loop", 1},
        {"\xC9t\xC9", 3},
        {"\xC9T\xC9", 3},
        {"\xE9t\xE9", std::nullopt},  // bytes above 0x7F
                                      // are not letters
                                      // to fold
        {"A_b", 4},
        {"", std::nullopt},
        {"Lo", std::nullopt},
    };
    SymbolTable table;
    for (std::size_t i = 0; i < names.size(); ++i) {
        table.define(names[i], 0);
    }
    for (const Row& row : rows) {
        EXPECT_EQ(findName(names, row.name), row.index) << '"' << row.name << '"';
        // The symbol table's index must give the same answer as the scan.
        EXPECT_EQ(table.find(row.name), row.index) << '"' << row.name << '"';
    }
}

}  // namespace
}  // namespace zoltas

namespace zoltas {
namespace {

// Names are compared eight bytes at a time; the tail of a name longer than eight bytes must count.
TEST(EqualFolded, ComparesEveryByteOfNamesOfAnyLength) {
    struct Row {
        std::string a;
        std::string b;
        bool equal;
    };
    const Row rows[] = {
        {"ABCDEFGHIJ", "abcdefghij", true},
        {"ABCDEFGHIJ", "abcdefghXY", false},
        {"ABCDEFGHIJ", "abcdefghiJ", true},
        {"abcdefghijklmnopq", "ABCDEFGHIJKLMNOPQ", true},
        {"abcdefghijklmnopq", "ABCDEFGHIJKLMNOPR", false},
        {"abcdefgh", "ABCDEFGX", false},
        {"a", "A", true},
        {"", "", true},
        {"@[`{", "@[`{", true},
        {"@", "`", false},  // 0x40 and 0x60 are not letters
        {"[", "{", false},
        {"\xC1", "\xE1", false},  // nor are bytes above 0x7F
        {std::string("a\0b", 3), std::string("A\0B", 3), true},
        {std::string("a\0b", 3), std::string("A\0C", 3), false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(equalFolded(row.a, row.b), row.equal) << '"' << row.a << "\" \"" << row.b << '"';
        if (row.equal) {
            const HashKey key = randomHashKey();
            EXPECT_EQ(foldedHash(row.a, key), foldedHash(row.b, key)) << '"' << row.a << '"';
        }
    }
}

// The values of Rust's SipHasher13 with the key (0, 0), which its DefaultHasher::new uses.
TEST(FoldedHash, IsSipHashOneThreeOfTheFoldedName) {
    struct Row {
        std::string name;
        std::uint64_t hash;
    };
    const Row rows[] = {
        {"", 0xd1fba762150c532cu},
        {"a", 0x407448d2b89b1813u},
        {"abcdefg", 0x6db12aae9070f506u},
        {"ABCDEFGH", 0x3f7b849c0b8e35eau},
        {"AssembleAddress", 0x80a8850ba143d123u},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(foldedHash(row.name, {0, 0}), row.hash) << row.name;
    }
}

// The key is drawn anew for every run, so names chosen to share a hash under one key share none
// under another.
TEST(FoldedHash, KeysDifferBetweenRunsAndChangeTheHash) {
    const HashKey first = randomHashKey();
    const HashKey second = randomHashKey();
    EXPECT_FALSE(first.k0 == second.k0 && first.k1 == second.k1);
    EXPECT_NE(foldedHash("loop", first), foldedHash("loop", second));
}

}  // namespace
}  // namespace zoltas
