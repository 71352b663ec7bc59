// One source, read once and assembled by zoltas's own passes with the record on: what every
// zolt subcommand that reads a source starts from.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "driver/file_system.h"
#include "driver/tool_run.h"
#include "record/assembly_record.h"

namespace zoltas {

// The help text of a subcommand's FILE argument.
inline constexpr const char* kSourceArgumentHelp = "The Zolt source";

struct Analysis {
    std::string name;
    std::string text;  // the source's bytes, as the passes read them
    bool readable = false;
    AssemblyRecord record;
    ToolRun run;
};

// Reads `name` through `files`, or takes `text` as its contents when given (an editor's unsaved
// buffer), and assembles it. Any other file the run looks at (an output that may be the source)
// is still found through `files`.
[[nodiscard]] Analysis analyzeSource(FileSystem& files, const std::string& name,
                                     bool continueAfterErrors,
                                     std::optional<std::string> text = std::nullopt);

// The text of a recorded line, without its line end.
[[nodiscard]] std::string_view lineText(const Analysis& analysis, const LineRecord& line);

// The name of a symbol: its text on its line, or AssembleAddress for the built-in entry.
[[nodiscard]] std::string_view symbolName(const Analysis& analysis, const SymbolRecord& symbol);

// The record of line `number` (1-based), or nothing when the source has no such line.
[[nodiscard]] const LineRecord* findLine(const AssemblyRecord& record, std::int64_t number);

}  // namespace zoltas
