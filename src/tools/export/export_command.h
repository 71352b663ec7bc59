// zolt export: the image of a source, a CROM file or a HI_/LO_ pair in one of the formats of
// formats.h, written whole to a file or, for the text formats, to standard output.
//
//   zolt export -f FORMAT [-o FILE] [--chip high|low] [--endian big|little] [--size N]
//               [--fill N] [--offset N] [--depth N] [--start N] INPUT...
#pragma once

#include <CLI/CLI.hpp>

#include "tools/cli/tool_context.h"

namespace zoltas {

// Adds the subcommand to `zolt`; when it is chosen, its callback runs the export and sets
// context.status.
void addExportCommand(CLI::App& zolt, ToolContext& context);

}  // namespace zoltas
