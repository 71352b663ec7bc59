// Each lint warning, and each of zoltas's own warnings, on the smallest source that shows it: at
// the right line and column, and gone when switched off or silenced by the comment.
#include "tools/lint/lint.h"

#include <gtest/gtest.h>

#include <string>

#include "driver/file_system.h"

namespace zoltas {
namespace {

std::vector<Diagnostic> diagnose(const std::string& source, const LintOptions& options = {}) {
    MemoryFileSystem files;
    files.files["prog.asm"] = source;
    return diagnoseSource(analyzeSource(files, "prog.asm", true), options);
}

bool has(const std::vector<Diagnostic>& found, std::string_view code, std::int64_t line,
         std::uint32_t column) {
    for (const Diagnostic& d : found) {
        if (d.code == code && d.line == line && d.span.begin + 1 == column) {
            return true;
        }
    }
    return false;
}

std::string list(const std::vector<Diagnostic>& found) {
    std::string text;
    for (const Diagnostic& d : found) {
        text += std::to_string(d.line) + ":" + std::to_string(d.span.begin + 1) + " " + d.code +
                ": " + d.message + "\n";
    }
    return text;
}

struct Row {
    std::string code;
    std::string source;
    std::int64_t line;
    std::uint32_t column;
};

const Row kRows[] = {
    {"unused-label", "xx:\n; end\n", 1, 1},
    {"unused-constant", ".c K=1\n; end\n", 1, 4},
    {"origin-backwards", ".org 5\n.org 2\n; end\n", 2, 6},
    {"label-without-colon", "loopx\n\tjmp /loop\n; end\n", 1, 5},
    {"unreachable-name", " loop:\n; end\n", 1, 1},
    {"unreachable-name", ".c a;b=1\n; end\n", 1, 4},
    {"blank-before-equals", ".c SIZE = 8\n; end\n", 1, 4},
    {"duplicate-symbol", "ab:\nAB:\n\tjmp /ab\n; end\n", 2, 1},
    {"assemble-address-defined", "assembleaddress:\n; end\n", 1, 1},
    {"assemble-address-reference", "\tjmp /AssembleAddress\n; end\n", 1, 6},
    {"indented-comment", "\t; a comment\n; end\n", 1, 1},
    {"remark-word", "\tx 5\n; end\n", 1, 2},
    {"skipped-line", "a:\n; end\n", 1, 1},
    {"skipped-line", "\tx\n; end\n", 1, 1},
    {"operand-ignored", "\tnop 5\n; end\n", 1, 6},
    {"extra-separator", "\tlda  5\n; end\n", 1, 5},
    {"semicolon-in-name", "x;:\n\tjmp /x;y\n; end\n", 2, 7},
    {"text-after-string", ".s 'AB' ; two\n; end\n", 1, 8},
    {"text-after-string", ".z 'AB\n; end\n", 1, 6},
    {"no-blank-after-directive", ".org$10\n; end\n", 1, 5},
    {"no-blank-after-directive", ".d$10\n; end\n", 1, 3},
    {"unknown-directive", ".END\n; end\n", 1, 2},
    {"unknown-directive", ". org 5\n; end\n", 1, 2},
    {"directive-word", ".asc X\n; end\n", 1, 1},
    {"code-after-end", ".end\n; notes\n\tnop\n", 3, 1},
    {"word-limit", ".lim 0\n\tnop\n", 2, 1},
    {"last-line-cut", "\tlda 5\n", 1, 1},
    {"last-line-cut", "\tnop\n.org $10\n", 2, 1},
    {"last-line-cut", ".s 'ABC'\n", 1, 1},
    {"number-junk", "\tlda 12abc\n; end\n", 1, 8},
    {"number-junk", ".d 0x10\n; end\n", 1, 5},
};

TEST(Lint, EachWarningAtItsLineAndColumn) {
    for (const Row& row : kRows) {
        const auto found = diagnose(row.source);
        EXPECT_TRUE(has(found, row.code, row.line, row.column)) << row.code << " in:\n"
                                                                << row.source << "found:\n"
                                                                << list(found);
    }
}

TEST(Lint, SwitchedOffByNameAndSilencedByTheCommentBeforeTheLine) {
    for (const Row& row : kRows) {
        LintOptions off;
        off.disabled.insert(row.code);
        for (const Diagnostic& d : diagnose(row.source, off)) {
            EXPECT_NE(d.code, row.code) << row.source;
        }
        // The comment goes right before the line the warning is at, which moves down by one.
        std::string source;
        std::int64_t number = 0;
        std::size_t at = 0;
        while (at <= row.source.size() && number < row.line - 1) {
            at = row.source.find('\n', at) + 1;
            ++number;
        }
        for (const std::string& comment :
             {"; zolt-ignore " + row.code, std::string(";zolt-ignore")}) {
            source = row.source.substr(0, at) + comment + "\n" + row.source.substr(at);
            EXPECT_FALSE(has(diagnose(source), row.code, row.line + 1, row.column))
                << comment << " in:\n"
                << source;
        }
    }
}

// The examples are written to show the language as it is meant: no warning at all.
TEST(Lint, TheExamplesHaveNoWarnings) {
    for (const char* name : {"countdown.asm", "message.asm", "vectors.asm"}) {
        DiskFileSystem files(ZOLTAS_SOURCE_DIR "/examples");
        const auto found = diagnoseSource(analyzeSource(files, name, true), {});
        EXPECT_EQ(list(found), "") << name;
    }
}

}  // namespace
}  // namespace zoltas
