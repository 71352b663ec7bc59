#include "source/line_loop.h"

#include <string>

#include "driver/load_error.h"
#include "source/line_handlers.h"
#include "source/line_reader.h"

namespace zoltas {

namespace {

// The word limit stops pass 1 two words below `sizeLimit`; a limit of 0 or 1 stops it at the
// first line that is not skipped.
bool wordLimitReached(const AssemblyState& state) {
    const auto usedWords = static_cast<std::uint16_t>(state.highestAddress - state.startAddress);
    return static_cast<std::int32_t>(usedWords) >= static_cast<std::int32_t>(state.sizeLimit) - 2;
}

void reportWordLimit(const AssemblyState& state, Reporter& reporter) {
    reporter.consoleLine("Word limit reached, stopping assembly early");
    if (state.logEnabled) {
        // No blank before "[" here, unlike the value format.
        reporter.logLine("Word limit reached, stopping at $" + hex4(state.address) + "[" +
                         std::to_string(state.address) + "] on line " +
                         std::to_string(state.lineNumber) + ".");
    }
}

LineResult handleLine(AssemblyState& state, Reporter& reporter, std::string_view line) {
    switch (line[0]) {
        case ';':
            if (state.logEnabled) {
                reporter.logLine("Comment line");
            }
            return LineResult::proceed;
        case '.':
            return dispatchDirective(state, reporter, line);
        case '\t':
            return handleInstructionLine(state, reporter, line);
        default:
            defineLabel(state, reporter, line);
            return LineResult::proceed;
    }
}

}  // namespace

bool parseSource(std::istream& source, AssemblyState& state, Reporter& reporter) {
    reporter.consoleLine("Starting parse part 1 of 4...");
    if (state.logEnabled) {
        reporter.logLine("Pass 1/4");
    }
    state.labels.defineAssembleAddress();
    state.constants.defineAssembleAddress();
    state.literalMode = true;
    state.lineNumber = 0;

    LineReader reader(source);
    std::string_view line;
    while (reader.next(line)) {
        ++state.lineNumber;
        if (state.address > state.highestAddress) {
            state.highestAddress = state.address;
        }
        state.labels.setAssembleAddress(state.address);
        state.constants.setAssembleAddress(state.address);

        // Lines of one or two characters are counted and skipped without a trace in the log.
        if (line.size() >= 3) {
            if (wordLimitReached(state)) {
                reportWordLimit(state, reporter);
                return true;
            }
            if (state.logEnabled) {
                reporter.listingPrefix(state.address, state.lineNumber);
            }
            switch (handleLine(state, reporter, line)) {
                case LineResult::proceed:
                    break;
                case LineResult::endOfSource:
                    return true;
                case LineResult::abortRun:
                    return false;
            }
        }

        if (state.counting) {
            state.counterValue = static_cast<std::uint16_t>(state.address - state.counterStart);
        }
    }
    // A source that breaks off while it is read must not pass for a shorter source.
    if (reader.failed()) {
        reportLoadError(state, reporter);
        return false;
    }
    return true;
}

}  // namespace zoltas
