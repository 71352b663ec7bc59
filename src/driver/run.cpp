#include "driver/run.h"

#include <new>
#include <span>
#include <string>
#include <vector>

#include "driver/passes.h"
#include "driver/reporter.h"
#include "output/file_guard.h"
#include "output/image_writer.h"
#include "source/assembly_state.h"

namespace zoltas {

namespace {

const std::string kBanner = std::string("Vanta Zolt Assembler v") + kVersion;

// Reads the command line into the state. Arguments 3 to 5 count by presence only: "bin" as the
// third still selects CROM, "nolog" as the fourth still turns the log on.
void configure(int argc, const char* const* argv, AssemblyState& state, Reporter& reporter) {
    if (argc == 2) {
        reporter.consoleLine("\nNo output file specified, using default!\n\toutput.rom");
        state.outputName = "output.rom";
        state.outputFormat = OutputFormat::crom;
        state.logEnabled = true;
        state.warningsEnabled = true;
    } else {
        state.outputName = argv[2];
        state.outputFormat = argc > 3 ? OutputFormat::crom : OutputFormat::bin;
        state.logEnabled = argc > 4;
        state.warningsEnabled = argc <= 5;
    }
    state.inputName = argv[1];
}

void writeLogHeader(int argc, const char* const* argv, const AssemblyState& state,
                    Reporter& reporter) {
    reporter.logLine(kBanner);
    reporter.logLine("Argument count: " + std::to_string(argc));
    std::string commandLine = "Command line: ";
    for (int i = 0; i < argc; ++i) {
        commandLine += argv[i];
        commandLine += ' ';
    }
    reporter.logLine(commandLine);
    reporter.logLine("Input file:\t" + state.inputName);
    reporter.logLine("Output file:\t" + state.outputName);
}

void writeSummary(const AssemblyState& state, Reporter& reporter) {
    std::string done = "Done assembling";
    if (state.warningCount != 0) {
        // Always "warnings", also for one.
        done += " with " + std::to_string(state.warningCount) + " warnings";
    }
    reporter.consoleLine(done + ".");
    reporter.logLine(
        [&] { return std::to_string(state.warningCount) + " warnings during assembly."; });
    reporter.logLine("Done.");
}

int assemble(int argc, const char* const* argv, Reporter& reporter, FileSystem& files,
             const RunOverrides& overrides) {
    reporter.consoleLine(kBanner);
    if (argc <= 1) {
        reporter.consoleLine(
            "\nNo input file specified, nothing to assemble!\n"
            "Usage:\n\tzoltas.exe infile outfile bin/rom log");
        return 1;
    }

    AssemblyState state;
    configure(argc, argv, state, reporter);
    state.logEnabled = overrides.logEnabled.value_or(state.logEnabled);
    // The source is opened before the log, silently: the log is then compared with the open
    // source, and a source that does not exist yet cannot become the log that is created. It
    // stays open until the run ends, and is read as bytes: the line reader drops a CR before LF
    // itself, the same on every platform.
    const auto source = files.openForReading(state.inputName);
    std::vector<KeptFile> kept;
    if (source) {
        kept.push_back({source->key(), KeptFile::Role::source});
    }
    if (state.logEnabled) {
        const std::string logName = "asm.log";
        OpenedOutputs opened =
            openOutputFiles(files, {&logName, 1}, FileMode::text, kept, reporter);
        if (opened.refused) {
            return 1;
        }
        auto& log = opened.files[0];
        // A log that cannot be created is no error: its lines are lost.
        if (log && log->discardContents()) {
            kept.push_back({log->key(), KeptFile::Role::log});
            reporter.attachLog(std::move(log));
        }
        writeLogHeader(argc, argv, state, reporter);
    }
    if (!source) {
        reportLoadError(state, reporter);
        return 1;
    }
    if (!runSourcePasses(*source, state, reporter) || !writeImage(state, kept, reporter, files)) {
        return 1;
    }
    writeSummary(state, reporter);
    return 0;
}

}  // namespace

int runAssembler(int argc, const char* const* argv, std::ostream& console, FileSystem& files,
                 const RunOverrides& overrides) {
    Reporter reporter(console);
    int status = 1;
    try {
        status = assemble(argc, argv, reporter, files, overrides);
    } catch (const std::bad_alloc&) {
        // No source can ask for much memory, but a machine can still run out of it.
        reporter.consoleLine(kOutOfMemoryText);
    }
    reporter.closeLog();
    return status;
}

}  // namespace zoltas
