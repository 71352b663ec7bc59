#include "source/data_directives.h"

#include <string>

#include "source/line_errors.h"
#include "source/syntax.h"

namespace zoltas {

namespace {

constexpr std::size_t kArgument = 3;

// The selector at position 1 is the name; position 2 is skipped; the argument is the rest.
void noteArgument(AssemblyState& state, std::string_view line) {
    if (state.record != nullptr) {
        state.record->line().skipped = 2;
        state.record->line().argument = state.record->span(line.substr(kArgument));
    }
}

}  // namespace

// ".d 42", ".d $2A", ".d /label", ".d \constant". A reference leaves 0 in the word until pass 2
// or 3 writes the symbol's value there.
LineResult emitDataWord(AssemblyState& state, Reporter& reporter, std::string_view line) {
    const std::string_view argument = line.substr(kArgument);
    noteArgument(state, line);
    if (argument[0] == '/' || argument[0] == '\\') {
        state.refer(argument, state.address);
        state.place(0);
        reporter.logLine("Marked address for token");
        return LineResult::proceed;
    }
    const auto value = readNumberOrReport(state, reporter, argument);
    if (!value) {
        return LineResult::abortRun;
    }
    state.place(toWord(*value));
    // The value as read, not its stored 16 bits: 70000 logs as $11170 [70000].
    reporter.logLine([&] { return "Inserted value " + formatValue(*value, '0'); });
    return LineResult::proceed;
}

// ".a x": the character at position 3, no quotes expected, the rest of the line ignored.
LineResult emitCharacter(AssemblyState& state, Reporter& reporter, std::string_view line) {
    const char c = line[kArgument];
    noteArgument(state, line);
    state.place(characterWord(c));
    reporter.logLine([&] { return "Inserted character " + std::string(1, c); });
    return LineResult::proceed;
}

// ".z 'text'" and ".s 'text'": the argument's first character and the line's last character are
// the delimiters, whatever they are, so quotes inside the text need no escape. An argument of
// one character has no text between its delimiters: it places what an empty string places.
LineResult emitString(AssemblyState& state, Reporter& reporter, std::string_view line,
                      bool zeroTerminated) {
    const std::string_view text = line.size() > kArgument + 2
                                      ? line.substr(kArgument + 1, line.size() - kArgument - 2)
                                      : std::string_view{};
    noteArgument(state, line);
    for (const char c : text) {
        state.place(characterWord(c));
    }
    if (zeroTerminated) {
        state.place(0);
    }
    reporter.logLine([&] {
        return "Inserted " + std::to_string(text.size()) +
               (zeroTerminated ? " byte zero-terminated string" : " byte unterminated string");
    });
    return LineResult::proceed;
}

// ".c NAME=value": the name is everything before the first "=", untrimmed, so "SIZE = 8"
// defines "SIZE ". Without "=" the last character is dropped and the value text is empty.
LineResult defineConstant(AssemblyState& state, Reporter& reporter, std::string_view line) {
    const std::string_view argument = line.substr(kArgument);
    std::size_t equals = argument.find('=');
    if (equals == std::string_view::npos) {
        equals = argument.size() - 1;
    }
    const std::string_view name = argument.substr(0, equals);
    const std::string_view valueText = argument.substr(equals + 1);
    noteArgument(state, line);
    const auto value = readNumberOrReport(state, reporter, valueText);
    if (!value) {
        return LineResult::abortRun;
    }
    const std::size_t reached = state.constants.define(name, toWord(*value));
    if (state.record != nullptr) {
        state.record->defined(true, name, toWord(*value), reached);
    }
    reporter.logLine([&] {
        return joined({"Created constant \"", name, "\" with value of ", formatValue(*value, '0')});
    });
    return LineResult::proceed;
}

}  // namespace zoltas
