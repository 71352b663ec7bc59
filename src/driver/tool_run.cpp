#include "driver/tool_run.h"

#include <new>
#include <sstream>

#include "driver/passes.h"
#include "driver/reporter.h"

namespace zoltas {

ToolRun runPassesForTool(FileSystem& files, const std::string& sourceName) {
    ToolRun run;
    std::ostringstream console;
    {
        Reporter reporter(console);
        AssemblyState& state = run.state;
        state.inputName = sourceName;
        state.outputName = "output.rom";
        state.outputFormat = OutputFormat::crom;
        try {
            const auto source = files.openForReading(sourceName);
            if (!source) {
                reportLoadError(state, reporter);
            } else if (runSourcePasses(*source, state, reporter)) {
                run.status = 0;
            }
        } catch (const std::bad_alloc&) {
            reporter.consoleLine(kOutOfMemoryText);
        }
    }
    run.console = console.str();
    return run;
}

MemoryImage outputImage(const AssemblyState& state) {
    MemoryImage image;
    image.start = state.startAddress;
    const std::uint32_t count =
        state.highestAddress < state.startAddress
            ? 0
            : static_cast<std::uint32_t>(state.highestAddress) - state.startAddress + 1;
    image.words.reserve(count);
    for (std::uint32_t k = 0; k < count; ++k) {
        image.words.push_back(state.image[static_cast<std::uint16_t>(state.startAddress + k)]);
    }
    return image;
}

}  // namespace zoltas
