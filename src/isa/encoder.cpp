#include "isa/encoder.h"

#include <algorithm>
#include <array>

#include "isa/instruction_table.h"
#include "source/line_errors.h"
#include "source/syntax.h"

namespace zoltas {

namespace {

constexpr std::size_t kLongestMnemonic = 6;

// The operand of a two-word instruction. Exactly one separator follows the mnemonic; further
// blanks and TABs are passed over so that "lda  $1234" reads the whole number.
void encodeOperand(std::string_view text, std::size_t mnemonicEnd, AssemblyState& state,
                   InstructionEncoding& encoding) {
    std::string_view operand = text.substr(std::min(mnemonicEnd + 1, text.size()));
    while (!operand.empty() && (operand[0] == ' ' || operand[0] == '\t')) {
        operand.remove_prefix(1);
    }
    if (operand.empty() || operand[0] == ';') {
        encoding.operandProblem = InstructionEncoding::OperandProblem::missing;
        return;
    }
    if (operand[0] == '/' || operand[0] == '\\') {
        encoding.operandIsReference = true;
        encoding.referenceIsConstant = operand[0] == '\\';
        state.refer(operand, static_cast<std::uint16_t>(state.address + 1));
        encoding.operandText = operand.substr(0, 1 + referenceName(operand).size());
        return;
    }
    const NumberReading reading = readLineNumber(state, operand);
    encoding.operandText = operand.substr(0, reading.digitsEnd);
    if (!reading.value) {
        encoding.operandProblem = InstructionEncoding::OperandProblem::notANumber;
        encoding.operandText = operand;
        return;
    }
    encoding.operandWord = toWord(*reading.value);
}

}  // namespace

InstructionEncoding encodeInstruction(std::string_view text, std::size_t mnemonicEnd,
                                      AssemblyState& state) {
    InstructionEncoding encoding;
    const std::string_view mnemonic = text.substr(0, mnemonicEnd);
    if (mnemonic.empty()) {
        encoding.invalid = true;
        return encoding;
    }
    // Remarks come before the length tests: ".abcdefgh" is a remark, not an invalid mnemonic.
    if (mnemonic[0] == ';' || mnemonic[0] == '.' || mnemonic.size() == 1) {
        return encoding;
    }
    if (mnemonic.size() > kLongestMnemonic) {
        encoding.invalid = true;
        return encoding;
    }
    std::array<char, kLongestMnemonic> lowered{};
    for (std::size_t i = 0; i < mnemonic.size(); ++i) {
        lowered[i] = foldAscii(mnemonic[i]);
    }
    const InstructionRow* row = findInstruction(std::string_view(lowered.data(), mnemonic.size()));
    if (row == nullptr) {
        encoding.invalid = true;
        return encoding;
    }
    encoding.opcodeWord = row->opcodeWord;
    encoding.twoWord = row->wordCount == 2;
    if (encoding.twoWord) {
        encodeOperand(text, mnemonicEnd, state, encoding);
    }
    return encoding;
}

}  // namespace zoltas
