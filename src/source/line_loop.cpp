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

LineClass classOf(std::string_view line) {
    if (line.size() < 3) {
        return LineClass::skipped;
    }
    switch (line[0]) {
        case ';':
            return LineClass::comment;
        case '.':
            return LineClass::directive;
        case '\t':
            return LineClass::instruction;
        default:
            return LineClass::label;
    }
}

// After pass 1 has stopped, a record still takes the lines zoltas never reads, so that a tool
// can say what they are.
void recordUnreadLines(LineReader& reader, AssemblyState& state) {
    std::string_view line;
    std::int64_t number = state.lineNumber;
    while (reader.next(line)) {
        state.record->startLine(++number, line, reader.offset(), state.address, LineClass::notRead);
    }
}

}  // namespace

bool parseSource(std::istream& source, AssemblyState& state, Reporter& reporter) {
    reporter.consoleLine("Starting parse part 1 of 4...");
    reporter.logLine("Pass 1/4");
    state.labels.defineAssembleAddress();
    state.constants.defineAssembleAddress();
    AssemblyRecord* record = state.record;
    if (record != nullptr) {
        record->defined(false, "AssembleAddress", 0, 0);
        record->defined(true, "AssembleAddress", 0, 0);
    }
    state.literalMode = true;
    state.lineNumber = 0;

    LineReader reader(source);
    std::string_view line;
    bool failed = false;
    while (reader.next(line)) {
        ++state.lineNumber;
        if (state.address > state.highestAddress) {
            state.highestAddress = state.address;
        }
        state.labels.setAssembleAddress(state.address);
        state.constants.setAssembleAddress(state.address);
        if (record != nullptr) {
            record->startLine(state.lineNumber, line, reader.offset(), state.address,
                              classOf(line));
        }

        // Lines of one or two characters are counted and skipped without a trace in the log.
        if (line.size() >= 3) {
            if (wordLimitReached(state)) {
                reportWordLimit(state, reporter);
                if (record != nullptr) {
                    record->line().lineClass = LineClass::notRead;
                    record->passOneEnd = PassOneEnd::wordLimit;
                    record->passOneEndLine = state.lineNumber;
                    recordUnreadLines(reader, state);
                }
                return !failed;
            }
            reporter.listingPrefix(state.address, state.lineNumber);
            switch (handleLine(state, reporter, line)) {
                case LineResult::proceed:
                    break;
                case LineResult::endOfSource:
                    if (record != nullptr) {
                        record->endLine(state.address);
                        record->passOneEnd = PassOneEnd::endDirective;
                        record->passOneEndLine = state.lineNumber;
                        recordUnreadLines(reader, state);
                    }
                    return !failed;
                case LineResult::abortRun:
                    if (record == nullptr) {
                        return false;
                    }
                    record->endLine(state.address);
                    if (!record->continueAfterErrors) {
                        record->passOneEnd = PassOneEnd::error;
                        record->passOneEndLine = state.lineNumber;
                        recordUnreadLines(reader, state);
                        return false;
                    }
                    // The tool goes on past the error to find the next one; zoltas would not.
                    failed = true;
                    continue;
            }
        }

        if (state.counting) {
            state.counterValue = static_cast<std::uint16_t>(state.address - state.counterStart);
        }
        if (record != nullptr) {
            record->endLine(state.address);
        }
    }
    // A read error ends the lines like the end of the source; the driver, which opened the
    // source, tells the two apart.
    return !failed;
}

}  // namespace zoltas
