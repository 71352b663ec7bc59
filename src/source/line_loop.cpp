#include "source/line_loop.h"

#include <string>

#include "isa/instruction_line.h"
#include "source/control_directives.h"
#include "source/line_reader.h"
#include "symbols/label_definition.h"

namespace zoltas {

namespace {

bool wordLimitReached(const AssemblyState& state) {
    const auto usedWords = static_cast<std::uint16_t>(state.highestAddress - state.startAddress);
    return usedWords >= wordLimitDistance(state.sizeLimit);
}

void reportWordLimit(const AssemblyState& state, Reporter& reporter) {
    reporter.consoleLine("Word limit reached, stopping assembly early");
    // No blank before "[" here, unlike the value format.
    reporter.logLine([&] {
        return "Word limit reached, stopping at $" + hex4(state.address) + "[" +
               std::to_string(state.address) + "] on line " + std::to_string(state.lineNumber) +
               ".";
    });
}

LineResult handleLine(AssemblyState& state, Reporter& reporter, std::string_view line) {
    switch (line[0]) {
        case ';':
            reporter.logLine("Comment line");
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
    reporter.logLine("Pass 1/4");
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
            reporter.listingPrefix(state.address, state.lineNumber);
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
    // A read error ends the lines like the end of the source; the driver, which opened the
    // source, tells the two apart.
    return true;
}

}  // namespace zoltas
