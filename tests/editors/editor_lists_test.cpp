// The mnemonics and directive names that the VS Code grammar, the Vim syntax and the snippets
// spell out must be the assembler's own: the instruction table with each mnemonic's size, the
// control directive names and the data directive letters.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "isa/instruction_table.h"
#include "source/control_directives.h"

namespace zoltas {
namespace {

using Names = std::vector<std::string>;

std::string readText(const std::string& relativePath) {
    std::ifstream file(std::string(ZOLTAS_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) {
        ADD_FAILURE() << "cannot read " << relativePath;
    }
    return text.str();
}

// "" when both hold the same names, each as often; otherwise the names one lacks or has beyond
// the other, so that a failure says which. Order does not count: each name in a pattern ends at a
// fixed boundary.
std::string mismatch(Names editor, Names assembler) {
    std::sort(editor.begin(), editor.end());
    std::sort(assembler.begin(), assembler.end());
    Names missing, extra;
    std::set_difference(assembler.begin(), assembler.end(), editor.begin(), editor.end(),
                        std::back_inserter(missing));
    std::set_difference(editor.begin(), editor.end(), assembler.begin(), assembler.end(),
                        std::back_inserter(extra));
    std::string text;
    for (const auto& [label, names] : {std::pair{"missing:", &missing}, {"extra:", &extra}}) {
        if (!names->empty()) {
            text += text.empty() ? label : std::string(" ") + label;
            for (const std::string& name : *names) {
                text += " " + name;
            }
        }
    }
    return text;
}

// What the editors must know, as the assembler has it.
struct Lists {
    Names oneWord, twoWord, controlDirectives, dataSelectors;
};

Lists assemblerLists() {
    Lists lists;
    for (const InstructionRow& row : instructionTable()) {
        (row.wordCount == 1 ? lists.oneWord : lists.twoWord).emplace_back(row.mnemonic);
    }
    for (const std::string_view name : controlDirectiveNames()) {
        lists.controlDirectives.emplace_back(name);
    }
    for (const char selector : kDataSelectors) {
        lists.dataSelectors.emplace_back(1, selector);
    }
    return lists;
}

Names split(const std::string& text, char separator) {
    Names parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

// The alternatives of the one "(?i:a|b|c)" group in a grammar pattern.
Names caseFreeAlternatives(const std::string& pattern) {
    const std::size_t start = pattern.find("(?i:");
    const std::size_t end = pattern.find(')', start);
    if (start == std::string::npos || end == std::string::npos) {
        ADD_FAILURE() << "no (?i:...) group in " << pattern;
        return {};
    }
    return split(pattern.substr(start + 4, end - start - 4), '|');
}

// Every rule whose first capture carries `scope`, with the pattern that begins it.
void forEachRule(const nlohmann::json& node, const std::string& scope,
                 const std::function<void(const std::string&)>& visit) {
    if (node.is_object()) {
        for (const char* captures : {"captures", "beginCaptures"}) {
            if (node.contains(captures) && node[captures].contains("1") &&
                node[captures]["1"].value("name", "") == scope) {
                visit(node.value(node.contains("match") ? "match" : "begin", ""));
            }
        }
    }
    if (node.is_structured()) {
        for (const auto& child : node) {
            forEachRule(child, scope, visit);
        }
    }
}

// The directive words a rule begins with: "^(\.(?:org|lim))", "^(\.rel)", "^(\.[zs])", "^(\.d)".
Names directiveWords(const std::string& pattern) {
    static const std::regex shape(R"(^\^\(\\\.(?:\(\?:([a-z|]+)\)|\[([a-z]+)\]|([a-z]+))\))");
    std::smatch m;
    if (!std::regex_search(pattern, m, shape)) {
        ADD_FAILURE() << "no directive word at the start of " << pattern;
        return {};
    }
    if (m[1].matched) {
        return split(m[1], '|');
    }
    if (m[2].matched) {
        Names letters;
        for (const char c : m[2].str()) {
            letters.emplace_back(1, c);
        }
        return letters;
    }
    return {m[3]};
}

Lists grammarLists() {
    const auto grammar =
        nlohmann::json::parse(readText("editors/vscode/syntaxes/zolt.tmLanguage.json"));
    Lists lists;
    const auto& rules = grammar["repository"];
    lists.oneWord = caseFreeAlternatives(rules["mnemonic-one-word"]["match"]);
    lists.twoWord = caseFreeAlternatives(rules["mnemonic-two-word"]["begin"]);
    forEachRule(rules, "keyword.control.directive.zolt", [&](const std::string& pattern) {
        const Names words = directiveWords(pattern);
        lists.controlDirectives.insert(lists.controlDirectives.end(), words.begin(), words.end());
    });
    // The constant directive has one rule for each of its shapes, so each letter counts once.
    std::set<std::string> letters;
    forEachRule(rules, "storage.type.data.zolt", [&](const std::string& pattern) {
        const Names words = directiveWords(pattern);
        letters.insert(words.begin(), words.end());
    });
    lists.dataSelectors.assign(letters.begin(), letters.end());
    return lists;
}

// The quoted words of "let s:<name> = [...]", continuation lines included.
Names vimList(const std::string& script, const std::string& name) {
    const std::size_t start = script.find("let s:" + name + " = [");
    const std::size_t end = script.find(']', start);
    if (start == std::string::npos || end == std::string::npos) {
        ADD_FAILURE() << "no list s:" << name << " in the Vim syntax";
        return {};
    }
    const std::string body = script.substr(start, end - start);
    static const std::regex word("'([^']*)'");
    Names words;
    for (auto it = std::sregex_iterator(body.begin(), body.end(), word);
         it != std::sregex_iterator(); ++it) {
        words.push_back((*it)[1]);
    }
    return words;
}

Lists vimLists() {
    const std::string script = readText("editors/vim/syntax/zolt.vim");
    Lists lists;
    lists.oneWord = vimList(script, "one_word");
    lists.twoWord = vimList(script, "two_word");
    lists.controlDirectives = vimList(script, "control_directives");
    static const std::regex data(
        R"re(syn match zoltDataDirective "\^\\\.(?:\[([a-z]+)\]|([a-z]))")re");
    for (auto it = std::sregex_iterator(script.begin(), script.end(), data);
         it != std::sregex_iterator(); ++it) {
        for (const char c : (*it)[1].matched ? (*it)[1].str() : (*it)[2].str()) {
            lists.dataSelectors.emplace_back(1, c);
        }
    }
    return lists;
}

TEST(EditorLists, GrammarAndVimSyntaxSpellTheAssemblersNames) {
    const Lists assembler = assemblerLists();
    ASSERT_EQ(assembler.oneWord.size() + assembler.twoWord.size(), 201u);
    ASSERT_EQ(assembler.controlDirectives.size(), 22u);
    struct Editor {
        const char* name;
        Lists lists;
    };
    for (const Editor& editor :
         {Editor{"VS Code grammar", grammarLists()}, Editor{"Vim syntax", vimLists()}}) {
        SCOPED_TRACE(editor.name);
        EXPECT_EQ(mismatch(editor.lists.oneWord, assembler.oneWord), "") << "one-word mnemonics";
        EXPECT_EQ(mismatch(editor.lists.twoWord, assembler.twoWord), "") << "two-word mnemonics";
        EXPECT_EQ(mismatch(editor.lists.controlDirectives, assembler.controlDirectives), "")
            << "control directives";
        EXPECT_EQ(mismatch(editor.lists.dataSelectors, assembler.dataSelectors), "")
            << "data directives";
    }
    // The Vim list also keeps the assembler's order, as its comment says.
    EXPECT_EQ(vimLists().controlDirectives, assembler.controlDirectives);
}

TEST(EditorLists, EveryDirectiveHasASnippetAndEverySnippetIsADirective) {
    const auto snippets = nlohmann::json::parse(readText("editors/vscode/snippets/zolt.json"));
    const Lists assembler = assemblerLists();
    std::set<std::string> directives;
    for (const Names* names : {&assembler.controlDirectives, &assembler.dataSelectors}) {
        for (const std::string& name : *names) {
            directives.insert("." + name);
        }
    }
    std::set<std::string> prefixes;
    for (const auto& snippet : snippets) {
        const std::string prefix = snippet["prefix"];
        const std::string body = snippet["body"];
        prefixes.insert(prefix);
        // The body must begin with the directive itself and, after a three-letter name, with the
        // one character that zoltas skips before the argument.
        EXPECT_TRUE(body == prefix || body.starts_with(prefix + " ")) << prefix << ": " << body;
    }
    EXPECT_EQ(prefixes, directives);
}

}  // namespace
}  // namespace zoltas
