#include "driver/tool_run.h"
#include "record/diagnostic_codes.h"

#include <new>
#include <sstream>
#include <vector>

#include "driver/passes.h"
#include "driver/reporter.h"
#include "output/file_guard.h"

namespace zoltas {

namespace {

// The values (AssembleAddress moves with every line) and the use counts, as the passes leave
// them.
void finishSymbols(const SymbolTable& table, std::vector<SymbolRecord>& symbols) {
    for (std::size_t i = 0; i < symbols.size() && i < table.size(); ++i) {
        symbols[i].uses = table.useCounts[i];
        symbols[i].value = table.values[i];
    }
}

// zoltas would refuse to write an output over its own source. Without writing anything, an
// existing output file is opened for reading and compared with the source as an open file.
void checkOutputs(FileSystem& files, const InputFile& source, const AssemblyState& state,
                  AssemblyRecord& record, Reporter& reporter, int& status) {
    const std::vector<std::string> names =
        state.outputFormat == OutputFormat::crom
            ? std::vector<std::string>{state.outputName}
            : std::vector<std::string>{"HI_" + state.outputName, "LO_" + state.outputName};
    for (const std::string& name : names) {
        const auto output = files.openForReading(name);
        if (output && output->key() == source.key()) {
            const std::string text = keptFileText(KeptFile::Role::source, name);
            reporter.consoleLine(text);
            record.runDiagnostic(Severity::error, codes::outputIsSource,
                                 std::string_view(text).substr(13), text);
            status = 1;
            return;
        }
    }
}

}  // namespace

ToolRun runPassesForTool(FileSystem& files, const std::string& sourceName, AssemblyRecord* record) {
    ToolRun run;
    std::ostringstream console;
    {
        Reporter reporter(console);
        AssemblyState& state = run.state;
        state.inputName = sourceName;
        state.outputName = "output.rom";
        state.outputFormat = OutputFormat::crom;
        state.record = record;
        try {
            const auto source = files.openForReading(sourceName);
            if (!source) {
                reportLoadError(state, reporter);
                if (record != nullptr) {
                    const std::string text = noSuchFileText(sourceName);
                    record->runDiagnostic(Severity::error, codes::loadError,
                                          std::string_view(text).substr(12), text);
                }
            } else {
                run.status = runSourcePasses(*source, state, reporter) ? 0 : 1;
                if (record != nullptr) {
                    if (source->bad()) {
                        const std::string text = noSuchFileText(sourceName);
                        record->runDiagnostic(Severity::error, codes::loadError,
                                              std::string_view(text).substr(12), text);
                    }
                    finishSymbols(state.labels, record->labels);
                    finishSymbols(state.constants, record->constants);
                    if (run.status == 0) {
                        checkOutputs(files, *source, state, *record, reporter, run.status);
                    }
                }
            }
        } catch (const std::bad_alloc&) {
            reporter.consoleLine(kOutOfMemoryText);
            run.status = 1;
            if (record != nullptr) {
                record->runDiagnostic(Severity::error, codes::outOfMemory, kOutOfMemoryText,
                                      kOutOfMemoryText);
            }
        }
        state.record = nullptr;
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
