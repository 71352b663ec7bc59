#include "tools/lsp/directive_help.h"

#include <array>

namespace zoltas {

namespace {

constexpr std::array<DirectiveHelp, 25> kHelp{{
    {"org", ".org N", "set the address to N"},
    {"rel", ".rel +N, .rel -N", "move the address forward or back by N"},
    {"align", ".align",
     "move the address to the next multiple of 16 (16 ahead when it already is one)"},
    {"start", ".start", "the output starts at the current address"},
    {"lim", ".lim N", "the size limit is N words, counted from the start address"},
    {"out", ".out NAME", "the output file name becomes the rest of the line, as it stands"},
    {"binary", ".binary", "switch the output format between CROM and BIN"},
    {"end", ".end", "stop reading the source"},
    {"mess", ".mess TEXT", "print a note"},
    {"addr", ".addr", "print the current address"},
    {"free", ".free", "print 65,535 minus the address"},
    {"lfree", ".lfree", "print start + limit − address"},
    {"cstart", ".cstart", "start the word counter at the current address"},
    {"cstop", ".cstop", "freeze the counter"},
    {"creset", ".creset", "counter to 0, counting from the current address"},
    {"cshow", ".cshow",
     "print the counter: the distance from its start to the address at the end of the previous "
     "line"},
    {"nowarn dowarn", ".nowarn, .dowarn",
     "hide or show unused-symbol warnings (the last one in the source decides)"},
    {"pause", ".pause", "a note only: nothing waits"},
    {"prompt", ".prompt", "a note only: nothing is read"},
    {"literal general", ".literal, .general",
     "switch a mode that changes nothing but the log line"},
    {"d", ".d N, .d /label, .d \\constant", "one word"},
    {"a", ".a C", "the character C as one word (the byte sign-extended: 0xE9 becomes $ffe9)"},
    {"z", ".z 'text'", "one word per character, then a 0 word"},
    {"s", ".s 'text'", "one word per character"},
    {"c", ".c NAME=N",
     "nothing: defines the constant NAME (everything before the first =, untrimmed)"},
}};

}  // namespace

std::optional<DirectiveHelp> directiveHelp(std::string_view name) {
    for (const DirectiveHelp& help : kHelp) {
        // A row may stand for two directives, its names separated by a blank.
        for (std::string_view names = help.names; !names.empty();) {
            const std::size_t blank = names.find(' ');
            if (names.substr(0, blank) == name) {
                return help;
            }
            names = blank == std::string_view::npos ? "" : names.substr(blank + 1);
        }
    }
    return std::nullopt;
}

}  // namespace zoltas
