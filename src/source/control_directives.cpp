#include "source/control_directives.h"
#include "record/diagnostic_codes.h"

#include <array>
#include <cstdint>
#include <string>

#include "source/data_directives.h"
#include "source/line_errors.h"
#include "source/syntax.h"

namespace zoltas {

namespace {

using Directive = LineResult (*)(AssemblyState&, Reporter&, std::string_view line);

// The argument of a three-letter directive starts at position 5: the character after the name
// is skipped whatever it is, so ".org$10" reads "10". ".org" and ".lim" cut it to one token,
// where a separator in the last position stays in the token.
constexpr std::size_t kArgument = 5;

std::string_view argumentToken(std::string_view line) {
    const std::string_view argument = line.substr(kArgument);
    return argument.substr(0, tokenEnd(argument));
}

// For the record: the character skipped after the name, the argument, and what the line holds
// after it that nothing reads.
void noteArgument(AssemblyState& state, std::string_view line, std::size_t skipped,
                  std::string_view argument) {
    if (state.record == nullptr) {
        return;
    }
    LineRecord& record = state.record->line();
    if (skipped < line.size()) {
        record.skipped = static_cast<std::uint32_t>(skipped);
    }
    record.argument = state.record->span(argument);
    const std::size_t after =
        static_cast<std::size_t>(argument.data() - line.data()) + argument.size();
    record.ignored = state.record->span(line.substr(std::min(after, line.size())));
}

LineResult literal(AssemblyState& state, Reporter& reporter, std::string_view) {
    state.literalMode = true;
    reporter.logLine("Switched to literal mode");
    return LineResult::proceed;
}

LineResult general(AssemblyState& state, Reporter& reporter, std::string_view) {
    state.literalMode = false;
    reporter.logLine("Switched to general mode");
    return LineResult::proceed;
}

LineResult start(AssemblyState& state, Reporter& reporter, std::string_view) {
    state.startAddress = state.address;
    reporter.logLine(
        [&] { return "Set start address to " + formatValue(state.startAddress, '0'); });
    return LineResult::proceed;
}

// Always moves: 16 words from an address that is already a multiple of 16.
LineResult align(AssemblyState& state, Reporter& reporter, std::string_view) {
    const int ahead = 16 - state.address % 16;
    state.address = static_cast<std::uint16_t>(state.address + ahead);
    reporter.logLine(
        [&] { return "Moved ahead " + formatValue(ahead, '0') + " bytes to next 0 base address"; });
    return LineResult::proceed;
}

LineResult end(AssemblyState& state, Reporter& reporter, std::string_view) {
    reporter.consoleLine("Stopped assembling at line " + std::to_string(state.lineNumber) + ".");
    reporter.logLine("Stopped assembling");
    return LineResult::endOfSource;
}

LineResult org(AssemblyState& state, Reporter& reporter, std::string_view line) {
    if (line.size() < kArgument + 1) {
        return reportLineError(state, reporter, codes::unspecifiedAddress, {},
                               {"Unspecified address"}, "Origin directive with no address");
    }
    const std::string_view token = argumentToken(line);
    noteArgument(state, line, kArgument - 1, token);
    const auto value = readNumberOrReport(state, reporter, token);
    if (!value) {
        return LineResult::abortRun;
    }
    // Shown whatever the warning switch says; it only hides unused-symbol warnings.
    if (*value < state.address) {
        constexpr std::string_view kWarning = "Origin changed to address lower than current!";
        const std::string text = lineTagged(state.lineNumber, "WARN: " + std::string(kWarning));
        reporter.consoleLine(text);
        reporter.logLine("Origin moved before previous address");
        ++state.warningCount;
        if (state.record != nullptr) {
            state.record->lineDiagnostic(Severity::warning, codes::originBackwards, token, kWarning,
                                         text);
        }
    }
    state.address = toWord(*value);
    reporter.logLine([&] { return "Moved origin to " + formatValue(state.address, '0'); });
    return LineResult::proceed;
}

// ".rel +n" or ".rel -n": the sign at position 5, the number from position 6. The number is read
// before the sign is looked at.
LineResult rel(AssemblyState& state, Reporter& reporter, std::string_view line) {
    if (line.size() < kArgument + 2) {
        return reportLineError(state, reporter, codes::unspecifiedRelative, {},
                               {"Unspecified relative"}, "Relative directive with no value");
    }
    const std::string_view amountText = line.substr(kArgument + 1);
    noteArgument(state, line, kArgument - 1, line.substr(kArgument));
    const auto amount = readNumberOrReport(state, reporter, amountText);
    if (!amount) {
        return LineResult::abortRun;
    }
    const char sign = line[kArgument];
    if (sign == '+') {
        state.address = static_cast<std::uint16_t>(state.address + toWord(*amount));
    } else if (sign == '-') {
        state.address = static_cast<std::uint16_t>(state.address - toWord(*amount));
    } else {
        std::string log = "Relative directive with invalid sign \"";
        log += sign;
        log += '"';
        return reportLineError(state, reporter, codes::invalidSign, line.substr(kArgument, 1),
                               {"Invalid sign"}, log);
    }
    // The amount as read, not cut to 16 bits.
    reporter.logLine([&] {
        return "Relative jump " + std::string(1, sign) + formatValue(*amount, '0') +
               " addresses to " + formatValue(state.address, '0');
    });
    return LineResult::proceed;
}

LineResult lim(AssemblyState& state, Reporter& reporter, std::string_view line) {
    if (line.size() < kArgument + 1) {
        return reportLineError(state, reporter, codes::unlimitedSize, {},
                               {"Filesize cannot be unlimited!"}, "Limit directive with no value");
    }
    const std::string_view token = argumentToken(line);
    noteArgument(state, line, kArgument - 1, token);
    const auto value = readNumberOrReport(state, reporter, token);
    if (!value) {
        return LineResult::abortRun;
    }
    state.sizeLimit = toWord(*value);
    reporter.logLine(
        [&] { return "Set filesize limit to " + formatValue(state.sizeLimit, '0') + " words"; });
    return LineResult::proceed;
}

// The name is the rest of the line as it stands: a trailing comment or blank becomes part of it.
LineResult out(AssemblyState& state, Reporter& reporter, std::string_view line) {
    if (line.size() < kArgument + 1) {
        return reportLineError(state, reporter, codes::unspecifiedFilename, {},
                               {"Unspecified filename"}, "Output directive with no name");
    }
    const std::string_view name = line.substr(kArgument);
    noteArgument(state, line, kArgument - 1, name);
    std::string console = "Filename changed from " + state.outputName + " to ";
    console += name;
    reporter.consoleLine(console);
    state.outputName = name;
    reporter.logLine([&] { return "Set filename to " + state.outputName; });
    return LineResult::proceed;
}

// The text starts at position 6, after ".mess" and one skipped character; ".mess" alone prints
// an empty message.
LineResult mess(AssemblyState& state, Reporter& reporter, std::string_view line) {
    constexpr std::size_t kText = 6;
    const std::string_view text =
        line.size() > kText ? line.substr(kText) : line.substr(line.size());
    noteArgument(state, line, kText - 1, text);
    std::string console = "ZOLTAS: ";
    console += text;
    reporter.consoleLine(console);
    reporter.logLine([&] { return "Message: " + std::string(text); });
    return LineResult::proceed;
}

// The console pads the value with blanks, the log with zeros.
LineResult addr(AssemblyState& state, Reporter& reporter, std::string_view) {
    reporter.consoleLine("ZOLTAS: Current address is " + formatValue(state.address, ' '));
    reporter.logLine([&] { return "Current address is " + formatValue(state.address, '0'); });
    return LineResult::proceed;
}

// Nothing waits and nothing is read: the run goes on at once, whatever the console says.
LineResult pause(AssemblyState&, Reporter& reporter, std::string_view) {
    reporter.consoleLine("Assembly paused. Press any key to continue.");
    reporter.logLine("Paused assembly");
    return LineResult::proceed;
}

LineResult lfree(AssemblyState& state, Reporter& reporter, std::string_view) {
    const std::string f = std::to_string(static_cast<std::int32_t>(state.startAddress) +
                                         state.sizeLimit - state.address);
    reporter.consoleLine("ZOLTAS: " + f + " free words before set limit");
    reporter.logLine([&] { return "Free words before set limit: " + f; });
    return LineResult::proceed;
}

LineResult free(AssemblyState& state, Reporter& reporter, std::string_view) {
    const std::string f = std::to_string(65535 - state.address);
    reporter.consoleLine("ZOLTAS: " + f + " free words before address limit");
    reporter.logLine([&] { return "Free words before address limit: " + f; });
    return LineResult::proceed;
}

LineResult prompt(AssemblyState& state, Reporter& reporter, std::string_view) {
    reporter.consoleLine(lineTagged(state.lineNumber, "PROMPT Continue assembling?"));
    reporter.logLine("Prompted the user");
    return LineResult::proceed;
}

// The line loop keeps the counter up to date at the end of every line while counting runs.
LineResult cstart(AssemblyState& state, Reporter& reporter, std::string_view) {
    state.counting = true;
    state.counterStart = state.address;
    reporter.logLine("Started counting");
    return LineResult::proceed;
}

LineResult cstop(AssemblyState& state, Reporter& reporter, std::string_view) {
    state.counting = false;
    reporter.logLine("Stopped counting");
    return LineResult::proceed;
}

LineResult creset(AssemblyState& state, Reporter& reporter, std::string_view) {
    state.counterValue = 0;
    state.counterStart = state.address;
    reporter.logLine("Counter reset to 0");
    return LineResult::proceed;
}

LineResult cshow(AssemblyState& state, Reporter& reporter, std::string_view) {
    reporter.consoleLine("ZOLTAS: Current counter value is " +
                         formatValue(state.counterValue, ' ') + " bytes");
    reporter.logLine(
        [&] { return "Counter value is " + formatValue(state.counterValue, '0') + " bytes"; });
    return LineResult::proceed;
}

LineResult nowarn(AssemblyState& state, Reporter& reporter, std::string_view) {
    state.warningsEnabled = false;
    reporter.logLine("Disabled warnings");
    return LineResult::proceed;
}

LineResult dowarn(AssemblyState& state, Reporter& reporter, std::string_view) {
    state.warningsEnabled = true;
    reporter.logLine("Enabled warnings");
    return LineResult::proceed;
}

LineResult binary(AssemblyState& state, Reporter& reporter, std::string_view) {
    if (state.outputFormat == OutputFormat::crom) {
        state.outputFormat = OutputFormat::bin;
        reporter.logLine("Exporting as BIN");
    } else {
        state.outputFormat = OutputFormat::crom;
        reporter.logLine("Exporting as CROM");
    }
    return LineResult::proceed;
}

struct ControlDirective {
    std::string_view name;
    Directive run;
};

// Tested in this order, by prefix and with case: ".endless" is ".end", ".END" is nothing.
constexpr std::array<ControlDirective, 22> kControlDirectives{{
    {"literal", literal}, {"general", general}, {"start", start},   {"align", align},
    {"end", end},         {"org", org},         {"rel", rel},       {"lim", lim},
    {"out", out},         {"mess", mess},       {"addr", addr},     {"pause", pause},
    {"lfree", lfree},     {"free", free},       {"prompt", prompt}, {"cstart", cstart},
    {"cstop", cstop},     {"creset", creset},   {"cshow", cshow},   {"nowarn", nowarn},
    {"dowarn", dowarn},   {"binary", binary},
}};

constexpr auto kControlDirectiveNames = [] {
    std::array<std::string_view, kControlDirectives.size()> names{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = kControlDirectives[i].name;
    }
    return names;
}();

DirectiveKind dataDirectiveKind(char selector) {
    switch (selector) {
        case 'd':
            return DirectiveKind::dataWord;
        case 'a':
            return DirectiveKind::character;
        case 'z':
            return DirectiveKind::zeroString;
        case 's':
            return DirectiveKind::string;
        case 'c':
            return DirectiveKind::constant;
        default:
            return DirectiveKind::unknown;
    }
}

}  // namespace

std::span<const std::string_view> controlDirectiveNames() {
    return kControlDirectiveNames;
}

LineResult dispatchDirective(AssemblyState& state, Reporter& reporter, std::string_view line) {
    if (line.size() == 3) {
        if (state.record != nullptr) {
            state.record->line().directive = DirectiveKind::tooShort;
            state.record->line().name = state.record->span(line.substr(1));
        }
        return reportLineError(state, reporter, codes::invalidDirective, line.substr(1),
                               {"Invalid directive ", line.substr(1), "!"}, "Directive too short");
    }
    const std::string_view nameText = line.substr(1);
    // The first character is compared on its own first: most lines fail there, at no cost.
    for (const ControlDirective& directive : kControlDirectives) {
        if (nameText[0] == directive.name[0] && nameText.starts_with(directive.name)) {
            if (state.record != nullptr) {
                LineRecord& record = state.record->line();
                record.directive = DirectiveKind::control;
                record.controlIndex =
                    static_cast<std::int8_t>(&directive - kControlDirectives.data());
                record.name = state.record->span(nameText.substr(0, directive.name.size()));
            }
            return directive.run(state, reporter, line);
        }
    }
    if (state.record != nullptr) {
        LineRecord& record = state.record->line();
        record.directive = dataDirectiveKind(line[1]);
        record.name = state.record->span(record.directive == DirectiveKind::unknown
                                             ? nameText.substr(0, tokenEnd(nameText))
                                             : line.substr(1, 1));
    }
    // No control directive: the second character picks a data directive, or nothing at all.
    switch (line[1]) {
        case 'd':
            return emitDataWord(state, reporter, line);
        case 'a':
            return emitCharacter(state, reporter, line);
        case 'z':
            return emitString(state, reporter, line, true);
        case 's':
            return emitString(state, reporter, line, false);
        case 'c':
            return defineConstant(state, reporter, line);
        default:
            return LineResult::proceed;
    }
}

}  // namespace zoltas
