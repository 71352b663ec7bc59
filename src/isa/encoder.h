// Turns the text of one instruction line into its opcode word and operand word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "source/assembly_state.h"

namespace zoltas {

struct InstructionEncoding {
    std::uint16_t opcodeWord = 0;
    std::uint16_t operandWord = 0;
    bool twoWord = false;
    bool invalid = false;
    bool operandIsReference = false;
    bool referenceIsConstant = false;

    // A two-word instruction whose operand is absent, or is not a number.
    enum class OperandProblem { none, missing, notANumber };
    OperandProblem operandProblem = OperandProblem::none;
    // The operand as read: the reference token, or the number's text up to its last digit;
    // for a number that cannot be read, all the text that was given to the number reader.
    std::string_view operandText;
};

// `text` is the line without its TAB; `mnemonicEnd` is tokenEnd(text). Prints nothing; records a
// reference operand itself, at address + 1, in labelRefs ("/") or constantRefs ("\").
[[nodiscard]] InstructionEncoding encodeInstruction(std::string_view text, std::size_t mnemonicEnd,
                                                    AssemblyState& state);

}  // namespace zoltas
