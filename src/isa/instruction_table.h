// The Zolt instruction set as a constant table, and the lookup of a mnemonic in it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zoltas {

struct InstructionRow {
    std::string_view mnemonic;  // 2 to 6 lower-case letters and digits
    std::uint16_t opcodeWord;   // high byte always 0; never carries operand or mode bits
    std::uint8_t wordCount;     // 1, or 2 when the instruction takes an operand word
};

// All 201 mnemonics, in opcode order; where two mnemonics share an opcode word, the usual name
// comes first ("ngt" before "not", "psh" before "psha", "pop" before "popa").
[[nodiscard]] std::span<const InstructionRow> instructionTable();

// The row whose mnemonic equals `mnemonic` exactly, or nullptr. Letter case is not folded here:
// the caller lowers A to Z first. An empty text or one longer than 6 characters is never found.
[[nodiscard]] const InstructionRow* findInstruction(std::string_view mnemonic);

}  // namespace zoltas
