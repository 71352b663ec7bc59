#include "driver/reporter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

namespace zoltas {
namespace {

TEST(FormatValue, PadsFourHexPositionsWithTheFillAndAddsTheDecimal) {
    struct Row {
        std::int32_t value;
        char fill;
        std::string text;
    };
    const Row rows[] = {
        {31, '0', "$001f [31]"},
        {31, ' ', "$  1f [31]"},
        {0, '0', "$0000 [0]"},
        {0, ' ', "$   0 [0]"},
        {65535, '0', "$ffff [65535]"},
        {65535, ' ', "$ffff [65535]"},
        {171, '0', "$00ab [171]"},
        {70000, '0', "$11170 [70000]"},
        {-100, '0', "$ffffff9c [-100]"},
        {-1, ' ', "$ffffffff [-1]"},
        {INT32_MIN, '0', "$80000000 [-2147483648]"},
        {256, '0', "$0100 [256]"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(formatValue(row.value, row.fill), row.text);
    }
}

TEST(Hex4, IsFourLowerCaseDigits) {
    EXPECT_EQ(hex4(31), "001f");
    EXPECT_EQ(hex4(0), "0000");
    EXPECT_EQ(hex4(0xABCD), "abcd");
    EXPECT_EQ(hex4(0xFF00), "ff00");
}

TEST(Reporter, ConsoleLinesEndWithALineBreakAndLogLinesAreDroppedWithoutALog) {
    std::ostringstream console;
    Reporter reporter(console);
    reporter.consoleLine("one");
    reporter.consoleLine("\ntwo\n\tthree");
    reporter.logLine("nowhere");
    reporter.listingPrefix(0x1f, 12);
    reporter.closeLog();
    EXPECT_EQ(console.str(), "one\n\ntwo\n\tthree\n");
}

}  // namespace
}  // namespace zoltas
