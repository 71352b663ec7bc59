// The symbol index must give exactly what the linear lookup gives: the first entry whose name
// equals the wanted one with A to Z folded, however many entries the table has grown to.
#include "source/assembly_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/reporter.h"
#include "in_memory_run.h"
#include "source/syntax.h"

namespace zoltas {
namespace {

// Names in mixed case, some defined twice in another case, some differing only past A to Z.
std::vector<std::string> tableNames(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back((i % 3 == 0 ? "Sym" : "sym") + std::to_string(i));
        if (i % 7 == 0) {
            names.push_back("SYM" + std::to_string(i));  // a duplicate lookups never reach
        }
        if (i % 11 == 0) {
            names.push_back("sym" + std::to_string(i) + "\xC4");  // 0xC4 is not folded
        }
    }
    return names;
}

TEST(SymbolTable, FindsWhatTheLinearLookupFindsAtEverySize) {
    // Every size up to past several doublings of the index, each checked in full.
    for (const int count : {1, 5, 11, 12, 13, 24, 25, 49, 97, 193, 400, 1500}) {
        SymbolTable table;
        table.defineAssembleAddress();
        for (const std::string& name : tableNames(count)) {
            table.define(name, static_cast<std::uint16_t>(table.size()));
        }
        std::vector<std::string> queries{"assembleaddress", "ASSEMBLEADDRESS", "", "sym",
                                         "Sym" + std::to_string(count)};
        for (const std::string& name : tableNames(count)) {
            queries.push_back(name);
            std::string swapped = name;
            for (char& c : swapped) {
                c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : foldAscii(c);
            }
            queries.push_back(swapped);
            queries.push_back(name + " ");
        }
        for (const std::string& query : queries) {
            ASSERT_EQ(table.find(query), findName(table.names, query))
                << count << " names, looking up \"" << query << '"';
        }
    }
}

// Hundreds of labels and constants, referred to in another letter case, resolve through the
// whole run: label i stands at address 2i, constant i has the value 3i + 1.
TEST(SymbolTable, HundredsOfLabelsAndConstantsResolveInAWholeRun) {
    constexpr int kSymbols = 300;
    std::string source;
    for (int i = 0; i < kSymbols; ++i) {
        source += "Label" + std::to_string(i) + ":\n";
        source += ".c Const" + std::to_string(i) + "=" + std::to_string(3 * i + 1) + "\n";
        source += ".d \\CONST" + std::to_string(kSymbols - 1 - i) + "\n";
        source += ".d /label" + std::to_string(kSymbols - 1 - i) + "\n";
    }
    source += "label7:\n.c const7=99\n; end\n";  // second definitions: never reached, unused
    const test::InMemoryRun run =
        test::runZoltas({{"prog.asm", source}}, {"prog.asm", "out.rom", "rom"});
    ASSERT_EQ(run.status, 0) << run.console;
    std::string expected;
    for (int i = 0; i < kSymbols; ++i) {
        const int j = kSymbols - 1 - i;
        expected += test::cromLine(static_cast<std::uint16_t>(2 * i),
                                   static_cast<std::uint16_t>(3 * j + 1));
        expected += test::cromLine(static_cast<std::uint16_t>(2 * i + 1),
                                   static_cast<std::uint16_t>(2 * j));
    }
    expected += test::cromLine(2 * kSymbols, 0);
    EXPECT_EQ(run.files.files.at("out.rom"), expected);
    EXPECT_NE(run.console.find("WARN: Unused constant \"const7\"!\n"), std::string::npos);
    EXPECT_NE(run.console.find("WARN: Unused label \"label7\"!\n"), std::string::npos);
    EXPECT_NE(run.console.find("Done assembling with 2 warnings."), std::string::npos);
}

}  // namespace
}  // namespace zoltas
