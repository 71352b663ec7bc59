// The hover text of every directive is the README's: both say in one line what it does.
#include "tools/lsp/directive_help.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>

#include "source/control_directives.h"

namespace zoltas {
namespace {

std::string withoutBackticks(std::string text) {
    std::erase(text, '`');
    return text;
}

TEST(DirectiveHelp, SaysWhatTheReadmeSaysForEveryDirective) {
    std::ifstream readme(ZOLTAS_SOURCE_DIR "/README.md");
    std::string line;
    int rows = 0;
    // "| `.org N` | set the address to N | ..." and "| `.d N`, `.d /label`, ... | one word |"
    const std::regex row(R"(^\| (`\.([a-z]+)[^|]*) \| ([^|]+) \|)");
    while (std::getline(readme, line)) {
        std::smatch match;
        if (!std::regex_search(line, match, row)) {
            continue;
        }
        const auto help = directiveHelp(match[2].str());
        ASSERT_TRUE(help.has_value()) << line;
        EXPECT_EQ(help->usage, withoutBackticks(match[1].str())) << line;
        EXPECT_EQ(help->effect, withoutBackticks(match[3].str())) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 25);  // 20 rows of control directives, 5 of data directives
    for (const std::string_view name : controlDirectiveNames()) {
        EXPECT_TRUE(directiveHelp(name).has_value()) << name;
    }
    for (const char selector : kDataSelectors) {
        EXPECT_TRUE(directiveHelp(std::string_view(&selector, 1)).has_value()) << selector;
    }
}

}  // namespace
}  // namespace zoltas
