#include "tools/common/diagnostic_text.h"

namespace zoltas {

namespace {

constexpr std::string_view kBold = "\x1b[1m";
constexpr std::string_view kReset = "\x1b[0m";

std::string_view colourOf(Severity severity) {
    switch (severity) {
        case Severity::error:
            return "\x1b[1;31m";
        case Severity::warning:
            return "\x1b[1;35m";
        case Severity::note:
            return "\x1b[1;36m";
    }
    return "";
}

// The length of the UTF-8 sequence that starts with `lead`, or 1 for a byte that starts none.
std::size_t sequenceLength(std::string_view line, std::size_t at) {
    const auto lead = static_cast<unsigned char>(line[at]);
    const std::size_t length = lead >= 0xF0 && lead < 0xF5   ? 4
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                                                             : 1;
    if (at + length > line.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(line[at + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

void writeOne(std::ostream& out, const Analysis& analysis, Severity severity, std::int64_t line,
              Span span, const std::string& message, std::string_view code,
              const TextStyle& style) {
    const std::int64_t shownLine = line > 0 ? line : 1;
    const std::uint32_t column = line > 0 ? span.begin + 1 : 1;
    if (style.colour) {
        out << kBold;
    }
    out << analysis.name << ':' << shownLine << ':' << column << ": ";
    if (style.colour) {
        out << kReset << colourOf(severity);
    }
    out << severityWord(severity) << ':';
    if (style.colour) {
        out << kReset << kBold;
    }
    out << ' ' << message;
    if (!code.empty()) {
        out << " [" << code << ']';
    }
    if (style.colour) {
        out << kReset;
    }
    out << '\n';
    const LineRecord* record = line > 0 ? findLine(analysis.record, line) : nullptr;
    if (!style.caret || record == nullptr) {
        return;
    }
    const std::string_view text = lineText(analysis, *record);
    out << text << '\n';
    // The caret line copies the TABs of the line, so it lines up however TABs are shown.
    std::string caret;
    for (std::uint32_t i = 0; i < span.begin && i < text.size(); ++i) {
        caret += text[i] == '\t' ? '\t' : ' ';
    }
    caret += '^';
    for (std::uint32_t i = span.begin + 1; i < span.end && i < text.size(); ++i) {
        caret += '~';
    }
    if (style.colour) {
        out << "\x1b[1;32m" << caret << kReset << '\n';
    } else {
        out << caret << '\n';
    }
}

}  // namespace

TextStyle textStyleFor(const ToolContext& context, bool terminal) {
    TextStyle style;
    const char* noColour = context.environment("NO_COLOR");
    const char* force = context.environment("CLICOLOR_FORCE");
    const bool forced = force != nullptr && *force != '\0' && std::string_view(force) != "0";
    style.colour = (noColour == nullptr || *noColour == '\0') && (terminal || forced);
    style.caret = terminal;
    return style;
}

std::string_view severityWord(Severity severity) {
    switch (severity) {
        case Severity::error:
            return "error";
        case Severity::warning:
            return "warning";
        case Severity::note:
            return "note";
    }
    return "error";
}

std::string shownMessage(const Diagnostic& diagnostic) {
    if (diagnostic.afterFirstError) {
        return diagnostic.message + " (after the first error, where zoltas stops)";
    }
    return diagnostic.message;
}

void writeDiagnostics(std::ostream& out, const Analysis& analysis,
                      const std::vector<Diagnostic>& diagnostics, const TextStyle& style) {
    for (const Diagnostic& diagnostic : diagnostics) {
        writeOne(out, analysis, diagnostic.severity, diagnostic.line, diagnostic.span,
                 shownMessage(diagnostic), diagnostic.code, style);
        if (diagnostic.relatedLine > 0) {
            writeOne(out, analysis, Severity::note, diagnostic.relatedLine, diagnostic.relatedSpan,
                     diagnostic.relatedMessage, "", style);
        }
    }
}

int writeRunErrors(ToolContext& context, const Analysis& analysis) {
    std::vector<Diagnostic> errors;
    for (const Diagnostic& d : analysis.record.diagnostics) {
        if (d.severity == Severity::error) {
            errors.push_back(d);
        }
    }
    writeDiagnostics(context.err, analysis, errors, textStyleFor(context, context.errIsTerminal));
    return errors.empty() ? 0 : 1;
}

std::uint32_t utf16Column(std::string_view line, std::uint32_t byteColumn) {
    std::uint32_t units = 0;
    for (std::size_t at = 0; at < byteColumn && at < line.size();) {
        const std::size_t length = sequenceLength(line, at);
        units += length == 4 ? 2 : 1;
        at += length;
    }
    return units +
           (byteColumn > line.size() ? byteColumn - static_cast<std::uint32_t>(line.size()) : 0);
}

std::uint32_t codePointColumn(std::string_view line, std::uint32_t byteColumn) {
    std::uint32_t points = 0;
    for (std::size_t at = 0; at < byteColumn && at < line.size(); at += sequenceLength(line, at)) {
        ++points;
    }
    return points;
}

std::uint32_t byteColumnOfUtf16(std::string_view line, std::uint32_t utf16) {
    std::uint32_t units = 0;
    std::size_t at = 0;
    while (at < line.size() && units < utf16) {
        const std::size_t length = sequenceLength(line, at);
        units += length == 4 ? 2 : 1;
        at += length;
    }
    return static_cast<std::uint32_t>(at);
}

}  // namespace zoltas
