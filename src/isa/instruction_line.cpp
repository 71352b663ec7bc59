#include "isa/instruction_line.h"
#include "record/diagnostic_codes.h"

#include <algorithm>
#include <string>

#include "isa/encoder.h"
#include "source/line_errors.h"
#include "source/syntax.h"

namespace zoltas {

namespace {

// Log: "Invalid instruction". Console: L<line>\tERROR: Invalid instruction <text>!
LineResult reportInvalidInstruction(AssemblyState& state, Reporter& reporter,
                                    std::string_view text) {
    return reportLineError(state, reporter, codes::invalidInstruction, text,
                           {"Invalid instruction ", text, "!"}, "Invalid instruction");
}

// Log: "Missing operand". Console: L<line>\tERROR: Missing operand for <mnemonic>
LineResult reportMissingOperand(AssemblyState& state, Reporter& reporter,
                                std::string_view mnemonic) {
    return reportLineError(state, reporter, codes::missingOperand, mnemonic,
                           {"Missing operand for ", mnemonic}, "Missing operand");
}

// For the record: the mnemonic, the operand and the text after them that nothing reads.
void noteInstruction(AssemblyRecord& record, std::string_view line, std::string_view text,
                     std::string_view mnemonic, const InstructionEncoding& encoding) {
    LineRecord& entry = record.line();
    // A TAB and ";" hands the encoder the text ";" alone; its mnemonic is the line's ";".
    entry.name = record.span(line[1] == ';' ? line.substr(1, 1) : mnemonic);
    entry.opcodeWord = encoding.opcodeWord;
    entry.instructionWords = encoding.invalid ? 0 : (encoding.twoWord ? 2 : 1);
    entry.remark = !encoding.invalid && !mnemonic.empty() &&
                   (mnemonic[0] == ';' || mnemonic[0] == '.' || mnemonic.size() == 1);
    if (encoding.twoWord && !encoding.operandText.empty()) {
        entry.argument = record.span(encoding.operandText);
        entry.ignored = {entry.argument.end, static_cast<std::uint32_t>(line.size())};
    } else if (!encoding.twoWord && line[1] != ';') {
        const auto after = static_cast<std::uint32_t>(1 + std::min(mnemonic.size(), text.size()));
        entry.ignored = {after, static_cast<std::uint32_t>(line.size())};
    }
}

}  // namespace

LineResult handleInstructionLine(AssemblyState& state, Reporter& reporter, std::string_view line) {
    // A TAB and a comment is a one-word remark, whatever the comment says.
    const std::string_view text = line[1] == ';' ? std::string_view(";") : line.substr(1);
    const std::size_t mnemonicEnd = tokenEnd(text);
    const std::string_view mnemonic = text.substr(0, mnemonicEnd);

    const InstructionEncoding encoding = encodeInstruction(text, mnemonicEnd, state);
    if (state.record != nullptr) {
        noteInstruction(*state.record, line, text, mnemonic, encoding);
    }
    if (encoding.invalid) {
        return reportInvalidInstruction(state, reporter, text);
    }
    switch (encoding.operandProblem) {
        case InstructionEncoding::OperandProblem::none:
            break;
        case InstructionEncoding::OperandProblem::missing:
            return reportMissingOperand(state, reporter, mnemonic);
        case InstructionEncoding::OperandProblem::notANumber:
            return reportNumberError(state, reporter, encoding.operandText);
    }

    state.place(encoding.opcodeWord);
    if (encoding.twoWord && encoding.operandIsReference) {
        // The operand word is left to pass 2 or 3, which know its address already.
        ++state.address;
        if (state.record != nullptr) {
            ++state.record->line().wordsPlaced;
        }
    } else if (encoding.twoWord) {
        state.place(encoding.operandWord);
    }

    // "byte" although the units are 16-bit words: the log has always said so.
    reporter.logLine([&] {
        return (encoding.twoWord ? "2-byte Instruction " : "1-byte Instruction ") +
               std::string(mnemonic);
    });
    return LineResult::proceed;
}

}  // namespace zoltas
