#include "isa/instruction_line.h"

#include <string>

#include "isa/encoder.h"
#include "source/line_errors.h"
#include "source/syntax.h"

namespace zoltas {

namespace {

// Log: "Invalid instruction". Console: L<line>\tERROR: Invalid instruction <text>!
LineResult reportInvalidInstruction(const AssemblyState& state, Reporter& reporter,
                                    std::string_view text) {
    return reportLineError(state, reporter, {"Invalid instruction ", text, "!"},
                           "Invalid instruction");
}

// Log: "Missing operand". Console: L<line>\tERROR: Missing operand for <mnemonic>
LineResult reportMissingOperand(const AssemblyState& state, Reporter& reporter,
                                std::string_view mnemonic) {
    return reportLineError(state, reporter, {"Missing operand for ", mnemonic}, "Missing operand");
}

}  // namespace

LineResult handleInstructionLine(AssemblyState& state, Reporter& reporter, std::string_view line) {
    // A TAB and a comment is a one-word remark, whatever the comment says.
    const std::string_view text = line[1] == ';' ? std::string_view(";") : line.substr(1);
    const std::size_t mnemonicEnd = tokenEnd(text);
    const std::string_view mnemonic = text.substr(0, mnemonicEnd);

    const InstructionEncoding encoding = encodeInstruction(text, mnemonicEnd, state);
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

    state.image[state.address] = encoding.opcodeWord;
    if (encoding.twoWord) {
        ++state.address;
        // A reference leaves the operand word to pass 2 or 3, which know its address already.
        if (!encoding.operandIsReference) {
            state.image[state.address] = encoding.operandWord;
        }
    }
    ++state.address;

    // "byte" although the units are 16-bit words: the log has always said so.
    reporter.logLine([&] {
        return (encoding.twoWord ? "2-byte Instruction " : "1-byte Instruction ") +
               std::string(mnemonic);
    });
    return LineResult::proceed;
}

}  // namespace zoltas
