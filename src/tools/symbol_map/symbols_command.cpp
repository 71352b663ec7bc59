#include "tools/symbol_map/symbols_command.h"

#include <memory>
#include <string>
#include <vector>

#include "driver/reporter.h"
#include "source/syntax.h"
#include "tools/common/diagnostic_text.h"

namespace zoltas {

namespace {

// Whether a reference can name `name`: references end at a blank or TAB, and at a ";" that then
// stays their last character.
bool reachableName(std::string_view name) {
    const std::size_t semicolon = name.find(';');
    return !name.empty() && name.find_first_of(" \t") == std::string_view::npos &&
           (semicolon == std::string_view::npos || semicolon + 1 == name.size());
}

// A name as the table shows it: in quotes, with escapes, when it holds anything but printable
// characters other than blanks and quotes.
std::string shownName(std::string_view name) {
    bool plain = !name.empty();
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        plain = plain && byte > 0x20 && byte != 0x7F && c != '"';
    }
    if (plain) {
        return std::string(name);
    }
    std::string text = "\"";
    static constexpr char kDigits[] = "0123456789abcdef";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (c == '\t') {
            text += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            text += "\\x";
            text += kDigits[byte >> 4];
            text += kDigits[byte & 0xF];
        } else {
            text += c;
        }
    }
    return text + "\"";
}

std::string notes(const Analysis& analysis, const std::vector<SymbolRecord>& table, std::size_t i) {
    const SymbolRecord& symbol = table[i];
    const std::string_view name = symbolName(analysis, symbol);
    std::vector<std::string> parts;
    if (symbol.uses == 0) {
        parts.emplace_back("unused");
    }
    if (equalFolded(name, "AssembleAddress")) {
        parts.emplace_back("unreachable: the built-in AssembleAddress is found first");
    } else if (symbol.reached != i) {
        parts.push_back("unreachable: defined first on line " +
                        std::to_string(table[symbol.reached].line));
    } else if (!reachableName(name)) {
        parts.emplace_back("unreachable: no reference can name it");
    }
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : "; ") + part;
    }
    return text;
}

}  // namespace

void writeSymbolTable(std::ostream& out, const Analysis& analysis) {
    std::size_t width = 4;
    for (const auto* table : {&analysis.record.labels, &analysis.record.constants}) {
        for (std::size_t i = 1; i < table->size(); ++i) {
            width = std::max(width, shownName(symbolName(analysis, (*table)[i])).size());
        }
    }
    // Padded on the left or right to a column's width, in one buffer: a table has a row a symbol.
    std::string text;
    const auto left = [&](std::string_view cell, std::size_t cellWidth) {
        text += cell;
        text.append(cellWidth > cell.size() ? cellWidth - cell.size() : 0, ' ');
    };
    const auto right = [&](std::string_view cell, std::size_t cellWidth) {
        text.append(cellWidth > cell.size() ? cellWidth - cell.size() : 0, ' ');
        text += cell;
    };
    left("kind", 10);
    left("name", width + 2);
    text += "value  ";
    right("line", 6);
    right("uses", 6);
    text += "  notes\n";
    for (const auto* table : {&analysis.record.labels, &analysis.record.constants}) {
        for (std::size_t i = 1; i < table->size(); ++i) {
            const SymbolRecord& symbol = (*table)[i];
            left(symbol.constant ? "constant" : "label", 10);
            left(shownName(symbolName(analysis, symbol)), width + 2);
            text += '$';
            text += hex4(symbol.value);
            text += "  ";
            right(std::to_string(symbol.line), 6);
            right(std::to_string(symbol.uses), 6);
            if (const std::string note = notes(analysis, *table, i); !note.empty()) {
                text += "  ";
                text += note;
            }
            text += '\n';
        }
    }
    out << text;
}

void writeSymbolFile(std::ostream& out, const Analysis& analysis) {
    out << "; symbols of " << analysis.name << ", written by zolt symbols\n";
    for (const auto* table : {&analysis.record.labels, &analysis.record.constants}) {
        for (std::size_t i = 1; i < table->size(); ++i) {
            const SymbolRecord& symbol = (*table)[i];
            const std::string_view name = symbolName(analysis, symbol);
            // A label whose name begins with "\\" would read back as a constant: left out.
            const bool ambiguous = !symbol.constant && name.starts_with('\\');
            if (symbol.reached == i && reachableName(name) && !ambiguous &&
                !equalFolded(name, "AssembleAddress")) {
                out << (symbol.constant ? "\\" : "") << name << " = $" << hex4(symbol.value)
                    << '\n';
            }
        }
    }
}

void addSymbolsCommand(CLI::App& zolt, ToolContext& context) {
    struct Options {
        std::string file;
        std::string format = "table";
    };
    auto options = std::make_shared<Options>();
    CLI::App* command = zolt.add_subcommand(
        "symbols", "List every label and constant with its value, defining line and uses");
    command->add_option("FILE", options->file, kSourceArgumentHelp)->required();
    command
        ->add_option("--format", options->format,
                     "table (the default), or plain: \"NAME = $hhhh\" lines, constants with \\")
        ->check(CLI::IsMember({"table", "plain"}));
    command->callback([options, &context] {
        const Analysis analysis = analyzeSource(context.files, options->file, false);
        if (analysis.readable) {
            if (options->format == "plain") {
                writeSymbolFile(context.out, analysis);
            } else {
                writeSymbolTable(context.out, analysis);
            }
        }
        context.out.flush();
        context.status = writeRunErrors(context, analysis);
    });
}

}  // namespace zoltas
