// The structured record of a run: what every line was and placed, every symbol and reference
// with its line, every error and warning with its line and the exact text zoltas prints for it.
// The passes fill it as they assemble, when a tool hands one in; zoltas itself never does, and
// then each hook costs one test of a null pointer.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zoltas {

// Columns of a line, 0-based, counted in bytes, `end` exclusive.
struct Span {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

enum class LineClass : std::uint8_t {
    skipped,      // one or two characters: counted, not handled
    comment,      // ";"
    directive,    // "."
    instruction,  // TAB
    label,        // anything else
    notRead,      // after ".end", the word limit or an error: zoltas never reads it
};

enum class DirectiveKind : std::uint8_t {
    tooShort,    // exactly three characters: an error
    control,     // one of the 22 names; `controlIndex` says which
    dataWord,    // ".d"
    character,   // ".a"
    zeroString,  // ".z"
    string,      // ".s"
    constant,    // ".c"
    unknown,     // no name and no data selector: ignored
};

// A line's record; packed, since a tool keeps one for every line of the source.
struct LineRecord {
    // The column a line has not: no character is skipped after its directive's name.
    static constexpr std::uint32_t kNoColumn = UINT32_MAX;

    std::int64_t number = 0;
    std::uint64_t offset = 0;       // of the line's first byte in the source
    std::uint32_t length = 0;       // without its line end
    std::uint32_t wordsPlaced = 0;  // from addressBefore on, one after the other
    // The directive's name or data selector, the mnemonic, or the label's name.
    Span name;
    // The directive's argument, or the instruction's operand.
    Span argument;
    // Text on the line that nothing reads: after a one-word mnemonic or an operand, after a
    // label's ":", after the token of ".org" or ".lim".
    Span ignored;
    // The character after a directive's name that is skipped whatever it is, or kNoColumn.
    std::uint32_t skipped = kNoColumn;
    std::uint16_t addressBefore = 0;
    std::uint16_t addressAfter = 0;
    std::uint16_t opcodeWord = 0;
    LineClass lineClass = LineClass::notRead;
    DirectiveKind directive = DirectiveKind::unknown;
    std::int8_t controlIndex = -1;  // into controlDirectiveNames()
    std::uint8_t instructionWords = 0;
    bool failed = false;  // the line has an error: zoltas would end the run here
    bool remark = false;  // a mnemonic of one character or one that begins with ";" or "."
};

struct NumberRecord {
    std::int64_t line = 0;
    Span text;    // what was given to the number reader
    Span digits;  // what it read, from the start of `text` to the end of the last digit
    std::optional<std::int32_t> value;
};

struct ReferenceRecord {
    std::int64_t line = 0;
    Span token;  // from the "/" or "\" to the end of the name
    Span name;
    std::optional<std::uint32_t> symbol;  // the entry it resolved to
    std::uint16_t address = 0;            // of the word it patches
    bool constant = false;                // "\" rather than "/"
};

// A label or constant. Its name is the text of `span` on its line; the built-in entry 0 of each
// table, AssembleAddress, has no line.
struct SymbolRecord {
    std::int64_t line = 0;
    std::int64_t uses = 0;
    Span span;
    // The entry that a lookup of this name reaches: this one, or an earlier one of the same name.
    std::uint32_t reached = 0;
    std::uint16_t value = 0;
    bool constant = false;
};

enum class Severity { error, warning, note };

struct Diagnostic {
    Severity severity = Severity::error;
    std::string code;       // a stable name: "invalid-instruction", "unused-label", ...
    std::int64_t line = 0;  // 0 when no line is concerned
    Span span;
    std::string message;  // the description: what zoltas prints without its line tag
    std::string text;     // exactly what zoltas prints for it (warnings it hides included)
    // A related place, shown as a note: where a symbol was first defined.
    std::int64_t relatedLine = 0;
    Span relatedSpan;
    std::string relatedMessage;
    // An error after the one zoltas reports: zoltas stops at the first and never meets it.
    bool afterFirstError = false;
};

enum class PassOneEnd { endOfSource, endDirective, wordLimit, error };

class AssemblyRecord {
  public:
    // Tools that want every error in one run: a failing line is recorded and the next one
    // handled, and passes 2 and 3 go on past an undefined symbol. The first error is still the
    // one zoltas reports; later ones would never be met by zoltas.
    bool continueAfterErrors = false;

    std::vector<LineRecord> lines;
    std::vector<NumberRecord> numbers;
    std::vector<ReferenceRecord> labelReferences;
    std::vector<ReferenceRecord> constantReferences;
    std::vector<SymbolRecord> labels;
    std::vector<SymbolRecord> constants;
    std::vector<Diagnostic> diagnostics;
    // The index into `diagnostics` of the error zoltas reports, if any.
    std::optional<std::size_t> firstError;

    PassOneEnd passOneEnd = PassOneEnd::endOfSource;
    std::int64_t passOneEndLine = 0;

    // Hooks for the passes.
    void startLine(std::int64_t number, std::string_view line, std::uint64_t offset,
                   std::uint16_t address, LineClass lineClass);
    void endLine(std::uint16_t address);
    [[nodiscard]] LineRecord& line() { return lines.back(); }
    // The columns of `piece`, a part of the line being handled.
    [[nodiscard]] Span span(std::string_view piece) const;

    void number(std::string_view text, std::size_t digitsEnd, std::optional<std::int32_t> value);
    void reference(bool constant, std::string_view token, std::string_view name,
                   std::uint16_t address);
    void resolved(bool constant, std::size_t reference, std::size_t symbol);
    // `reached` is the entry that lookups of the name reach: this one, or an earlier one.
    void defined(bool constant, std::string_view name, std::uint16_t value, std::size_t reached);

    // A diagnostic of the line being handled, about `culprit` (a part of it, or empty for the
    // whole line). `text` is what zoltas prints, `message` the description within it.
    void lineDiagnostic(Severity severity, std::string_view code, std::string_view culprit,
                        std::string_view message, std::string_view text);
    // A diagnostic at a reference's line (undefined symbols) or a symbol's (unused symbols).
    void referenceDiagnostic(Severity severity, std::string_view code, bool constant,
                             std::size_t reference, std::string_view message,
                             std::string_view text);
    void symbolDiagnostic(Severity severity, std::string_view code, bool constant,
                          std::size_t symbol, std::string_view message, std::string_view text);
    // A diagnostic about no line: the source cannot be read, an output is refused.
    void runDiagnostic(Severity severity, std::string_view code, std::string_view message,
                       std::string_view text);

  private:
    void add(Severity severity, std::string_view code, std::int64_t line, Span where,
             std::string_view message, std::string_view text);

    std::string_view current_;  // the line being handled
};

}  // namespace zoltas
