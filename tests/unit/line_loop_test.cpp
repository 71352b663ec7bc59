#include "source/line_reader.h"

#include "driver/reporter.h"
#include "source/assembly_state.h"
#include "source/line_loop.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace zoltas {
namespace {

using namespace std::string_literals;

std::vector<std::string> readLines(const std::string& bytes) {
    std::istringstream in(bytes);
    LineReader reader(in);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

TEST(LineReader, SplitsAtLineFeedsAndDropsOnlyACarriageReturnBeforeOne) {
    struct Row {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"", {}},
        {"\n", {""}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r", {"a\r"}},
        {"a\rb\n", {"a\rb"}},
        {"a\r\r\n", {"a\r"}},
        {"\n\n\n", {"", "", ""}},
        {"\r\n", {""}},
        {"x\0y\xff\x80\n"s, {"x\0y\xff\x80"s}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(readLines(row.bytes), row.lines);
    }
}

TEST(LineReader, ReadsLinesLongerThanItsBufferAndCrLfAcrossReads) {
    const std::string longLine(200000, 'x');
    std::string bytes = longLine + "\r\nshort\n";
    bytes += std::string(65535, 'y') + "\r\n" + "z";
    const std::vector<std::string> expected{longLine, "short", std::string(65535, 'y'), "z"};
    EXPECT_EQ(readLines(bytes), expected);
}

}  // namespace
}  // namespace zoltas

namespace zoltas {
namespace {

struct PassOne {
    std::ostringstream console;
    Reporter reporter{console};
    AssemblyState state;

    bool run(const std::string& source) {
        std::istringstream in(source);
        return parseSource(in, state, reporter);
    }
};

TEST(ParseSource, CountsEveryLineAndKeepsAssembleAddressInBothTables) {
    PassOne pass;
    pass.state.address = 0x0123;
    ASSERT_TRUE(pass.run("; one\n\nx\n; four\n"));
    EXPECT_EQ(pass.state.lineNumber, 4);
    EXPECT_EQ(pass.state.highestAddress, 0x0123);
    ASSERT_EQ(pass.state.labels.size(), 1u);
    ASSERT_EQ(pass.state.constants.size(), 1u);
    EXPECT_EQ(pass.state.labels.names[0], "AssembleAddress");
    EXPECT_EQ(pass.state.labels.values[0], 0x0123);
    EXPECT_EQ(pass.state.constants.values[0], 0x0123);
    EXPECT_EQ(pass.state.labels.useCounts[0], 1);
    EXPECT_EQ(pass.console.str(), "Starting parse part 1 of 4...\n");
}

TEST(ParseSource, WordLimitStopsAtTheFirstLineLongEnoughToBeHandled) {
    // A limit of 0 gives a negative bound: the first line of three or more characters stops.
    PassOne pass;
    pass.state.sizeLimit = 0;
    ASSERT_TRUE(pass.run("ab\n\n;three\n; never read\n"));
    EXPECT_EQ(pass.state.lineNumber, 3);
    EXPECT_EQ(pass.console.str(),
              "Starting parse part 1 of 4...\nWord limit reached, stopping assembly early\n");
}

TEST(ParseSource, WordLimitCountsFromTheStartAddressTwoBelowTheLimit) {
    struct Row {
        std::uint16_t address;
        std::uint16_t start;
        std::uint16_t limit;
        bool stops;
    };
    const Row rows[] = {
        {16, 0, 18, true},
        {15, 0, 18, false},
        {0xFFFD, 0, 0xFFFF, true},
        {0xFFFC, 0, 0xFFFF, false},
        {0x0110, 0x0100, 18, true},
        {0x010F, 0x0100, 18, false},
        {0, 0, 1, true},
        {0, 0, 2, true},
        {0, 0, 3, false},
        // the distance is taken modulo 65,536
        {0x00FD, 0x0100, 0xFFFF, true},
        {0x00FC, 0x0100, 0xFFFF, false},
    };
    for (const Row& row : rows) {
        PassOne pass;
        pass.state.address = row.address;
        pass.state.startAddress = row.start;
        pass.state.sizeLimit = row.limit;
        ASSERT_TRUE(pass.run(";one\n"));
        const bool stopped = pass.console.str().find("Word limit reached") != std::string::npos;
        EXPECT_EQ(stopped, row.stops)
            << row.address << " from " << row.start << " limit " << row.limit;
    }
}

}  // namespace
}  // namespace zoltas
