#include "tools/lint/lint.h"
#include "record/diagnostic_codes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "driver/reporter.h"
#include "source/control_directives.h"
#include "source/syntax.h"

namespace zoltas {

namespace {

constexpr Severity E = Severity::error;
constexpr Severity W = Severity::warning;

constexpr std::array<DiagnosticRule, 37> kRules{{
    {codes::invalidDirective, "a directive line of three characters", E, true},
    {codes::unspecifiedAddress, "\".org\" without an address", E, true},
    {codes::unspecifiedRelative, "\".rel\" without a sign and an amount", E, true},
    {codes::invalidSign, "\".rel\" with a sign that is neither \"+\" nor \"-\"", E, true},
    {codes::unlimitedSize, "\".lim\" without a limit", E, true},
    {codes::unspecifiedFilename, "\".out\" without a name", E, true},
    {codes::invalidInstruction, "a mnemonic that is not in the instruction table", E, true},
    {codes::missingOperand, "a two-word mnemonic without its operand", E, true},
    {codes::invalidNumber, "a text that holds no number, or one outside 32 bits", E, true},
    {codes::undefinedConstant, "a \"\\\" reference to no constant", E, true},
    {codes::undefinedLabel, "a \"/\" reference to no label", E, true},
    {codes::loadError, "the source cannot be read", E, true},
    {codes::outputIsSource, "the output file would be the source file", E, true},
    {codes::outOfMemory, "memory ran out", E, true},
    {codes::unusedLabel, "a label that nothing refers to", W, true},
    {codes::unusedConstant, "a constant that nothing refers to", W, true},
    {codes::originBackwards, "\".org\" moves the address below the current one", W, true},
    {codes::labelWithoutColon, "a label line without \":\": its last character is dropped", W,
     false},
    {codes::unreachableName, "a name no reference can reach (a blank, a \";\" inside, empty)", W,
     false},
    {codes::blankBeforeEquals, "\".c NAME = V\": the blank before \"=\" is part of the name", W,
     false},
    {codes::duplicateSymbol, "a name defined twice: references reach the first", W, false},
    {codes::assembleAddressDefined, "a symbol named AssembleAddress, which none can reach", W,
     false},
    {codes::assembleAddressReference,
     "AssembleAddress is the address of the last line read, not of this one", W, false},
    {codes::indentedComment, "a TAB and \";\" is an instruction line: it places a 0x0000 word", W,
     false},
    {codes::remarkWord, "a one-character mnemonic or one after \".\" places a 0x0000 word", W,
     false},
    {codes::skippedLine, "a line of one or two characters is not read", W, false},
    {codes::operandIgnored, "an operand after a one-word mnemonic is ignored", W, false},
    {codes::extraSeparator, "more than one separator before an operand", W, false},
    {codes::semicolonInName, "a \";\" ends a reference name but stays part of it", W, false},
    {codes::textAfterString, "text after a string's closing delimiter is part of the string", W,
     false},
    {codes::noBlankAfterDirective, "the character after a directive's name is skipped", W, false},
    {codes::unknownDirective, "a directive that matches no name is ignored", W, false},
    {codes::directiveWord, "\".data\" is \".d\" with the argument \"ta ...\"", W, false},
    {codes::codeAfterEnd, "lines after \".end\" are never read", W, false},
    {codes::wordLimit, "the word limit stops assembly before this line", W, false},
    {codes::lastLineCut, "the output ends where the last line starts", W, false},
    {codes::numberJunk, "a number followed by text that is not a separator", W, false},
}};

// Columns as a Span, `end` past the last.
Span columns(std::size_t begin, std::size_t end) {
    return {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end)};
}

std::string inQuotes(std::string_view text) {
    return joined({"\"", text, "\""});
}

std::string hexValue(std::uint16_t value) {
    std::string text = "$";
    text += hex4(value);
    return text;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Empty, blanks only, or a comment: nothing a reader would take for code.
bool looksEmpty(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos || text[first] == ';';
}

class Linter {
  public:
    explicit Linter(const Analysis& analysis) : analysis_(analysis), record_(analysis.record) {}

    std::vector<Diagnostic> run() {
        for (const LineRecord& line : record_.lines) {
            if (line.lineClass == LineClass::notRead || line.failed) {
                continue;
            }
            const std::string_view text = lineText(analysis_, line);
            switch (line.lineClass) {
                case LineClass::skipped:
                    skippedLine(line, text);
                    break;
                case LineClass::label:
                    labelLine(line, text);
                    break;
                case LineClass::instruction:
                    instructionLine(line, text);
                    break;
                case LineClass::directive:
                    directiveLine(line, text);
                    break;
                default:
                    break;
            }
        }
        symbols(record_.labels, "label");
        symbols(record_.constants, "constant");
        references(record_.labelReferences);
        references(record_.constantReferences);
        numbers();
        passOneEnd();
        lastLine();
        return std::move(found_);
    }

  private:
    void warn(std::string_view code, std::int64_t line, Span span, std::string message) {
        Diagnostic diagnostic;
        diagnostic.severity = Severity::warning;
        diagnostic.code = code;
        diagnostic.line = line;
        diagnostic.span = span;
        diagnostic.message = std::move(message);
        found_.push_back(std::move(diagnostic));
    }

    void skippedLine(const LineRecord& line, std::string_view text) {
        if (!text.empty() && text[0] != ';' && !looksEmpty(text)) {
            warn(codes::skippedLine, line.number, columns(0, text.size()),
                 "a line of one or two characters is skipped: " + inQuotes(text) + " is not read");
        }
    }

    void labelLine(const LineRecord& line, std::string_view text) {
        if (text.find(':') == std::string_view::npos) {
            warn(codes::labelWithoutColon, line.number, columns(text.size() - 1, text.size()),
                 "label line without \":\": it defines " +
                     inQuotes(text.substr(0, text.size() - 1)) + ", its last character " +
                     inQuotes(text.substr(text.size() - 1)) + " dropped");
        }
    }

    void instructionLine(const LineRecord& line, std::string_view text) {
        const std::string_view mnemonic =
            text.substr(line.name.begin, line.name.end - line.name.begin);
        if (line.remark) {
            const std::string where = " places the word $0000 at " + hexValue(line.addressBefore);
            if (text[1] == ';') {
                warn(codes::indentedComment, line.number, columns(0, text.size()),
                     "a TAB followed by \";\" is an instruction line, not a comment: it" + where);
            } else {
                warn(codes::remarkWord, line.number, line.name,
                     inQuotes(mnemonic) + " is no mnemonic but a remark: it" + where);
            }
            return;
        }
        if (line.instructionWords == 1) {
            const std::string_view rest =
                text.substr(std::min<std::size_t>(line.ignored.begin, text.size()));
            const std::size_t first = rest.find_first_not_of(" \t");
            if (first != std::string_view::npos && rest[first] != ';') {
                const std::size_t begin = line.ignored.begin + first;
                warn(codes::operandIgnored, line.number, columns(begin, text.size()),
                     inQuotes(mnemonic) + " takes no operand: " + inQuotes(text.substr(begin)) +
                         " is ignored");
            }
        } else if (line.instructionWords == 2 && line.argument.begin > line.name.end + 1) {
            warn(codes::extraSeparator, line.number, columns(line.name.end, line.argument.begin),
                 "more than one separator before the operand of " + inQuotes(mnemonic) +
                     ": one is expected");
        }
    }

    void directiveLine(const LineRecord& line, std::string_view text) {
        const std::string_view name = text.substr(line.name.begin, line.name.end - line.name.begin);
        switch (line.directive) {
            case DirectiveKind::unknown:
                warn(codes::unknownDirective, line.number, line.name,
                     inQuotes(text.substr(0, line.name.end)) +
                         " matches no directive and is ignored (names are case-sensitive and "
                         "begin right after the \".\")");
                return;
            case DirectiveKind::zeroString:
            case DirectiveKind::string:
                stringLine(line, text);
                break;
            default:
                break;
        }
        if (line.skipped >= text.size() || isBlank(text[line.skipped])) {
            return;
        }
        const char skipped = text[line.skipped];
        const bool dataSelector =
            line.directive != DirectiveKind::control && line.directive != DirectiveKind::tooShort;
        if (dataSelector && std::isalnum(static_cast<unsigned char>(skipped)) != 0) {
            const std::size_t wordEnd = line.name.begin + tokenEnd(text.substr(line.name.begin));
            warn(codes::directiveWord, line.number, columns(0, wordEnd),
                 inQuotes(text.substr(0, wordEnd)) + " is " + inQuotes(text.substr(0, 2)) +
                     " with the argument " + inQuotes(text.substr(3)));
            return;
        }
        warn(codes::noBlankAfterDirective, line.number, columns(line.skipped, line.skipped + 1),
             "the character after " + inQuotes(joined({".", name})) +
                 " is skipped whatever it is: " +
                 inQuotes(std::string_view(&text[line.skipped], 1)) +
                 " is passed over and the argument starts after it");
    }

    // The argument's first character and the line's last are the delimiters.
    void stringLine(const LineRecord& line, std::string_view text) {
        if (text.size() < 5) {
            return;
        }
        const char open = text[3];
        if (text.back() == open) {
            return;
        }
        const std::size_t close = text.find(open, 4);
        if (close == std::string_view::npos) {
            warn(codes::textAfterString, line.number, columns(text.size() - 1, text.size()),
                 "the string has no closing " + inQuotes(std::string_view(&open, 1)) +
                     ": it ends at the line's last character, " +
                     inQuotes(text.substr(text.size() - 1)) + ", which is dropped");
            return;
        }
        warn(codes::textAfterString, line.number, columns(close + 1, text.size()),
             "the string ends at the line's last character: " +
                 inQuotes(text.substr(close + 1, text.size() - close - 2)) + " after " +
                 inQuotes(std::string_view(&open, 1)) + " is part of it");
    }

    void symbols(const std::vector<SymbolRecord>& table, const std::string& kind) {
        for (std::size_t i = 1; i < table.size(); ++i) {
            const SymbolRecord& symbol = table[i];
            const std::string_view name = symbolName(analysis_, symbol);
            if (equalFolded(name, "AssembleAddress")) {
                warn(codes::assembleAddressDefined, symbol.line, symbol.span,
                     "a " + kind + " named " + inQuotes(name) +
                         " can never be reached: references find the built-in AssembleAddress "
                         "first");
                continue;
            }
            if (symbol.reached != i) {
                const SymbolRecord& first = table[symbol.reached];
                warn(codes::duplicateSymbol, symbol.line, symbol.span,
                     kind + " " + inQuotes(name) +
                         " is defined again: references reach the first definition, on line " +
                         std::to_string(first.line));
                found_.back().relatedLine = first.line;
                found_.back().relatedSpan = first.span;
                found_.back().relatedMessage = "first defined here";
                continue;
            }
            unreachable(symbol, kind);
        }
    }

    void unreachable(const SymbolRecord& symbol, const std::string& kind) {
        const std::string_view name = symbolName(analysis_, symbol);
        std::string why;
        if (name.empty()) {
            why = "it is empty";
        } else if (symbol.constant && isBlank(name.back())) {
            warn(codes::blankBeforeEquals, symbol.line, symbol.span,
                 "the constant's name is " + inQuotes(name) +
                     ": the blank before \"=\" is part "
                     "of it, and no reference can reach it");
            return;
        } else if (isBlank(name.front())) {
            why = "it begins with a blank";
        } else if (name.find_first_of(" \t") != std::string_view::npos) {
            why = "a blank ends a reference name";
        } else if (const std::size_t semicolon = name.find(';');
                   semicolon != std::string_view::npos && semicolon + 1 < name.size()) {
            why = "a \";\" ends a reference name";
        } else {
            return;
        }
        warn(codes::unreachableName, symbol.line, symbol.span,
             "no reference can reach the " + kind + " " + inQuotes(name) + ": " + why);
    }

    void references(const std::vector<ReferenceRecord>& list) {
        for (const ReferenceRecord& reference : list) {
            if (reference.symbol == 0) {
                const std::uint16_t value =
                    reference.constant ? record_.constants[0].value : record_.labels[0].value;
                const LineRecord* where = findLine(record_, reference.line);
                warn(codes::assembleAddressReference, reference.line, reference.token,
                     "AssembleAddress is " + hexValue(value) +
                         ", the address at which the last line read starts, not the address of "
                         "this line (" +
                         hexValue(where != nullptr ? where->addressBefore : 0) + ")");
            }
            const LineRecord* line = findLine(record_, reference.line);
            const std::string_view name =
                line == nullptr
                    ? std::string_view()
                    : lineText(analysis_, *line)
                          .substr(reference.name.begin, reference.name.end - reference.name.begin);
            if (!name.empty() && name.back() == ';') {
                warn(codes::semicolonInName, reference.line, reference.name,
                     "the name is " + inQuotes(name) +
                         ": a \";\" ends a reference name but stays part of it");
            }
        }
    }

    void numbers() {
        for (const NumberRecord& number : record_.numbers) {
            const LineRecord* line = findLine(record_, number.line);
            if (!number.value || line == nullptr || line->failed) {
                continue;
            }
            const std::string_view text = lineText(analysis_, *line);
            if (number.digits.end >= number.text.end || number.digits.end >= text.size() ||
                isSeparator(text[number.digits.end])) {
                continue;
            }
            const std::size_t junkEnd =
                number.digits.end + tokenEnd(text.substr(number.digits.end));
            warn(codes::numberJunk, number.line, columns(number.digits.end, junkEnd),
                 "read as " + std::to_string(*number.value) + ": " +
                     inQuotes(text.substr(number.digits.end, junkEnd - number.digits.end)) +
                     " after the number is ignored");
        }
    }

    void passOneEnd() {
        if (record_.passOneEnd == PassOneEnd::wordLimit) {
            const auto after =
                static_cast<std::int64_t>(record_.lines.size()) - record_.passOneEndLine;
            warn(codes::wordLimit, record_.passOneEndLine, {},
                 "the word limit stops assembly before this line: it and the " +
                     std::to_string(after) + " lines after it are not read");
        }
        if (record_.passOneEnd != PassOneEnd::endDirective) {
            return;
        }
        std::int64_t unread = 0;
        const LineRecord* first = nullptr;
        for (const LineRecord& line : record_.lines) {
            if (line.lineClass == LineClass::notRead && !looksEmpty(lineText(analysis_, line))) {
                ++unread;
                first = first == nullptr ? &line : first;
            }
        }
        if (first != nullptr) {
            warn(codes::codeAfterEnd, first->number, {},
                 "zoltas stops reading at \".end\" on line " +
                     std::to_string(record_.passOneEndLine) +
                     (unread == 1 ? ": this line is never read"
                                  : ": this line and the " + std::to_string(unread - 1) +
                                        " after it that hold code are never read"));
        }
    }

    // The output ends at the highest address at which a line started: the words that the last
    // line read places after its first, and an address it moves to, are not written.
    void lastLine() {
        const LineRecord* last = nullptr;
        for (const LineRecord& line : record_.lines) {
            if (line.lineClass != LineClass::notRead ||
                (record_.passOneEnd == PassOneEnd::wordLimit &&
                 line.number == record_.passOneEndLine)) {
                last = &line;
            }
        }
        if (last == nullptr || last->failed || last->lineClass == LineClass::notRead) {
            return;
        }
        const auto moved = static_cast<std::uint16_t>(last->addressBefore + last->wordsPlaced) !=
                           last->addressAfter;
        if (last->wordsPlaced > 1) {
            warn(codes::lastLineCut, last->number, {},
                 "the last line read places " + std::to_string(last->wordsPlaced) +
                     " words, but the output ends at the address where it starts (" +
                     hexValue(last->addressBefore) + "): only the first is written");
        } else if (moved) {
            warn(codes::lastLineCut, last->number, {},
                 "the last line read moves the address to " + hexValue(last->addressAfter) +
                     ", but the output ends at the address where it starts (" +
                     hexValue(last->addressBefore) + ")");
        }
    }

    const Analysis& analysis_;
    const AssemblyRecord& record_;
    std::vector<Diagnostic> found_;
};

// The names an ignore comment silences on the next line, or "" for all of them.
std::vector<std::string> ignoredNames(std::string_view comment) {
    const std::size_t at = comment.find(kIgnoreComment);
    if (comment.empty() || comment[0] != ';' || at == std::string_view::npos ||
        comment.substr(1, at - 1).find_first_not_of(" \t") != std::string_view::npos) {
        return {};
    }
    std::string_view rest = comment.substr(at + kIgnoreComment.size());
    if (!rest.empty() && !isBlank(rest[0])) {
        return {};
    }
    std::vector<std::string> names;
    std::string name;
    for (const char c : rest) {
        if (c == ',' || isBlank(c)) {
            if (!name.empty()) {
                names.push_back(name);
            }
            name.clear();
        } else {
            name += c;
        }
    }
    if (!name.empty()) {
        names.push_back(name);
    }
    return names.empty() ? std::vector<std::string>{""} : names;
}

bool silenced(const Diagnostic& diagnostic, const Analysis& analysis, const LintOptions& options) {
    if (diagnostic.severity != Severity::warning) {
        return false;
    }
    if (options.disabled.count(diagnostic.code) != 0) {
        return true;
    }
    const LineRecord* before = findLine(analysis.record, diagnostic.line - 1);
    if (before == nullptr) {
        return false;
    }
    for (const std::string& name : ignoredNames(lineText(analysis, *before))) {
        if (name.empty() || name == diagnostic.code) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::span<const DiagnosticRule> diagnosticRules() {
    return kRules;
}

bool isWarningName(std::string_view name) {
    return std::any_of(kRules.begin(), kRules.end(), [&](const DiagnosticRule& rule) {
        return rule.name == name && rule.severity == Severity::warning;
    });
}

std::vector<Diagnostic> diagnoseSource(const Analysis& analysis, const LintOptions& options) {
    std::vector<Diagnostic> all = analysis.record.diagnostics;
    for (Diagnostic& warning : Linter(analysis).run()) {
        all.push_back(std::move(warning));
    }
    std::erase_if(all, [&](const Diagnostic& d) { return silenced(d, analysis, options); });
    // The run's own diagnostics keep their order among equals, so zoltas's error stays first.
    std::stable_sort(all.begin(), all.end(), [](const Diagnostic& a, const Diagnostic& b) {
        return a.line != b.line ? a.line < b.line : a.span.begin < b.span.begin;
    });
    return all;
}

}  // namespace zoltas
