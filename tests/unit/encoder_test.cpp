#include "isa/encoder.h"

#include <gtest/gtest.h>

#include <string>

#include "source/syntax.h"

namespace zoltas {
namespace {

using Problem = InstructionEncoding::OperandProblem;

struct Row {
    std::string text;  // the line after its TAB
    std::uint16_t opcode;
    std::uint16_t operand;
    bool twoWord;
    bool invalid = false;
    Problem problem = Problem::none;
};

TEST(EncodeInstruction, EncodesMnemonicsAndNumericOperands) {
    const Row rows[] = {
        {"LDA $1F", 0x0001, 0x001F, true},
        {"Lda $1f", 0x0001, 0x001F, true},
        {"lda $1F", 0x0001, 0x001F, true},
        {"nop", 0x0000, 0, false},
        {"nop 5", 0x0000, 0, false},  // a one-word instruction never reads an operand
        {"brk", 0x00FE, 0, false},
        {"hlt", 0x00FF, 0, false},
        {"or", 0x001F, 0, false},
        {"ngt", 0x0020, 0, false},
        {"not", 0x0020, 0, false},
        {"psh", 0x005F, 0, false},
        {"psha", 0x005F, 0, false},
        {"pop", 0x0060, 0, false},
        {"popa", 0x0060, 0, false},
        {"add", 0x001A, 0, false},
        {"sub", 0x001B, 0, false},
        {"adn 1", 0x001C, 1, true},
        {"sun 2", 0x001D, 2, true},
        {"ldbisy 3", 0x008B, 3, true},
        {"sndn 7", 0x00C3, 7, true},
        {"lda -1", 0x0001, 0xFFFF, true},
        {"lda %101", 0x0001, 0x0005, true},
        {"lda 65536", 0x0001, 0x0000, true},
        {"lda;5", 0x0001, 5, true},  // the ";" ending the mnemonic is the one separator skipped
        {"lda\t$10", 0x0001, 0x10, true},
        {"lda 12 ; twelve", 0x0001, 12, true},
        {"lda  $1234", 0x0001, 0x1234, true},  // extra blanks before the operand are passed over
        {"lda \t 77;x", 0x0001, 77, true},
        {"nop;comment", 0x0000, 0, false},
        // remarks: one zero word
        {";", 0x0000, 0, false},
        {"q", 0x0000, 0, false},
        {"x 5", 0x0000, 0, false},
        {".abcdefgh", 0x0000, 0, false},
        // invalid
        {"xyz", 0, 0, false, true},
        {"abcdefg", 0, 0, false, true},
        {"nop ", 0, 0, false, true},  // the trailing blank belongs to the mnemonic
        {"lda;", 0, 0, false, true},
        {" lda 5", 0, 0, false, true},  // an empty mnemonic
        {"ldaiaxx 5", 0, 0, false, true},
        {"foo 5", 0, 0, false, true},
        // operand problems
        {"lda", 0x0001, 0, true, false, Problem::missing},
        {"lda  ", 0x0001, 0, true, false, Problem::missing},
        {"lda ;five", 0x0001, 0, true, false, Problem::missing},
        {"lda  ; five", 0x0001, 0, true, false, Problem::missing},
        {"lda five", 0x0001, 0, true, false, Problem::notANumber},
        {"lda $", 0x0001, 0, true, false, Problem::notANumber},
        {"lda 2147483648", 0x0001, 0, true, false, Problem::notANumber},
        {"lda -$10", 0x0001, 0, true, false, Problem::notANumber},
    };
    for (const Row& row : rows) {
        AssemblyState state;
        const InstructionEncoding e = encodeInstruction(row.text, tokenEnd(row.text), state);
        SCOPED_TRACE('"' + row.text + '"');
        EXPECT_EQ(e.invalid, row.invalid);
        EXPECT_EQ(e.operandProblem, row.problem);
        if (row.invalid) {
            continue;
        }
        EXPECT_EQ(e.opcodeWord, row.opcode);
        EXPECT_EQ(e.twoWord, row.twoWord);
        if (row.problem == Problem::none) {
            EXPECT_EQ(e.operandWord, row.operand);
        }
        EXPECT_FALSE(e.operandIsReference);
        EXPECT_TRUE(state.labelRefs.names.empty());
        EXPECT_TRUE(state.constantRefs.names.empty());
    }
}

TEST(EncodeInstruction, RecordsReferenceOperandsAtTheNextAddress) {
    struct RefRow {
        std::string text;
        std::uint16_t address;
        bool constant;
        std::string name;
        std::uint16_t recordedAt;
    };
    const RefRow rows[] = {
        {"jmp /start", 0x0040, false, "start", 0x0041},
        {"jmp /Start", 0x0040, false, "Start", 0x0041},
        {"lda \\count", 0x0010, true, "count", 0x0011},
        {"jmp /", 0xFFFF, false, "", 0x0000},
        {"jmp /loop ; back", 0, false, "loop", 1},
        {"jmp /loop;back", 0, false, "loop;", 1},
        {"lda  \\Max", 7, true, "Max", 8},
    };
    for (const RefRow& row : rows) {
        AssemblyState state;
        state.address = row.address;
        const InstructionEncoding e = encodeInstruction(row.text, tokenEnd(row.text), state);
        SCOPED_TRACE('"' + row.text + '"');
        EXPECT_TRUE(e.twoWord);
        EXPECT_TRUE(e.operandIsReference);
        EXPECT_EQ(e.referenceIsConstant, row.constant);
        EXPECT_EQ(e.operandWord, 0);
        const ReferenceList& used = row.constant ? state.constantRefs : state.labelRefs;
        const ReferenceList& unused = row.constant ? state.labelRefs : state.constantRefs;
        ASSERT_EQ(used.names.size(), 1u);
        EXPECT_EQ(used.names[0], row.name);
        EXPECT_EQ(used.addresses[0], row.recordedAt);
        EXPECT_TRUE(unused.names.empty());
    }
}

}  // namespace
}  // namespace zoltas
