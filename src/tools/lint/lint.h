// Lint: the ways a source assembles, without an error, into something its author did not mean.
// Each warning is read off the record of zoltas's own run: what a line was, what it placed, what
// was ignored, which name a reference reached. No rule parses the source again.
#pragma once

#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "record/assembly_record.h"
#include "tools/common/analysis.h"

namespace zoltas {

struct DiagnosticRule {
    std::string_view name;     // the diagnostic's stable name; for warnings, for -Wno-NAME
    std::string_view summary;  // one line, for --list-warnings, SARIF and the README
    Severity severity;
    bool fromZoltas;  // an error or warning that zoltas itself prints
};

// Every error and warning: zoltas's errors, its warnings, then the lint warnings.
[[nodiscard]] std::span<const DiagnosticRule> diagnosticRules();
// Whether `name` is a warning that can be switched off.
[[nodiscard]] bool isWarningName(std::string_view name);

// The comment that silences warnings on the line after it: "; zolt-ignore" for all of them, or
// "; zolt-ignore NAME[,NAME...]" for those named.
inline constexpr std::string_view kIgnoreComment = "zolt-ignore";

struct LintOptions {
    std::set<std::string, std::less<>> disabled;  // names switched off with -Wno-NAME
};

// The run's errors and warnings and the lint warnings, sorted by line and column, without the
// warnings switched off or silenced by an ignore comment. Errors are never left out.
[[nodiscard]] std::vector<Diagnostic> diagnoseSource(const Analysis& analysis,
                                                     const LintOptions& options);

}  // namespace zoltas
