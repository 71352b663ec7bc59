// Diagnostics as text in the GNU form that editors and CI read:
//   FILE:LINE:COLUMN: error: MESSAGE [NAME]
// LINE and COLUMN are 1-based and count bytes (a TAB is one column); a diagnostic about no line
// is given at 1:1. On a terminal the source line and a caret under the column follow, and colour
// marks the kinds unless NO_COLOR is set (CLICOLOR_FORCE forces colour anywhere).
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "record/assembly_record.h"
#include "tools/cli/tool_context.h"
#include "tools/common/analysis.h"

namespace zoltas {

struct TextStyle {
    bool colour = false;
    bool caret = false;  // show the source line and a caret line
};

// The style for a stream: `terminal` is whether it is one.
[[nodiscard]] TextStyle textStyleFor(const ToolContext& context, bool terminal);

// "error", "warning" or "note".
[[nodiscard]] std::string_view severityWord(Severity severity);

// The message as the tools show it: an error that zoltas would never meet says so.
[[nodiscard]] std::string shownMessage(const Diagnostic& diagnostic);

// Writes `diagnostics` of `analysis`, each with its related note.
void writeDiagnostics(std::ostream& out, const Analysis& analysis,
                      const std::vector<Diagnostic>& diagnostics, const TextStyle& style);

// Writes the errors of the run, as zoltas would report them, on the error stream; 1 when there
// was one, else 0.
[[nodiscard]] int writeRunErrors(ToolContext& context, const Analysis& analysis);

// The column of a byte column in a line, counted in UTF-16 code units or in code points of the
// line read as UTF-8 (bytes that are not UTF-8 count one each), as other tools count them.
[[nodiscard]] std::uint32_t utf16Column(std::string_view line, std::uint32_t byteColumn);
[[nodiscard]] std::uint32_t codePointColumn(std::string_view line, std::uint32_t byteColumn);
// The byte column of a UTF-16 column, the inverse of utf16Column.
[[nodiscard]] std::uint32_t byteColumnOfUtf16(std::string_view line, std::uint32_t utf16);

}  // namespace zoltas
