// libFuzzer entry for zoltdis: the input is read as a CROM file, and as a BIN pair (two halves,
// start address from the first two bytes). Whatever disassembles must assemble back into the
// same image; zoltdis may refuse an image only where no source can write it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "disassembler/disassembler.h"
#include "in_memory_run.h"
#include "isa/instruction_table.h"

namespace {

bool isTwoWordOpcode(std::uint16_t word) {
    for (const zoltas::InstructionRow& row : zoltas::instructionTable()) {
        if (row.opcodeWord == word) {
            return row.wordCount == 2;
        }
    }
    return false;
}

void roundTrip(const zoltas::MemoryImage& image) {
    std::string whyNot;
    const auto source = zoltas::disassemble(image, "fuzz", false, whyNot);
    if (!source) {
        // Only an image past the word limit that ends below $ffff, with a last word that no
        // line followed by nothing above it can place, may be refused: not a string character,
        // and not a two-word opcode at $fffe (whose operand would go to $ffff).
        const std::uint32_t last = image.start + image.words.size() - 1;
        const std::uint16_t word = image.words.back();
        const bool character = (word <= 0x7F || word >= 0xFF80) && word != 0x000A;
        const bool twoWordAtFffe =
            last == 0xFFFE && word < 0x100 && word != 0x0000 && isTwoWordOpcode(word);
        if (image.words.size() < 65534 || last == 0xFFFF || character || twoWordAtFffe) {
            std::abort();
        }
        return;
    }
    auto run = zoltas::test::runZoltas({{"dis.asm", *source}}, {"dis.asm", "out"});
    if (run.status != 0) {
        std::abort();
    }
    auto& files = run.files;
    const std::string& high = files.files["HI_out"];
    const std::string& low = files.files["LO_out"];
    if (high.size() != image.words.size() || low.size() != image.words.size()) {
        std::abort();
    }
    for (std::size_t k = 0; k < image.words.size(); ++k) {
        const auto word = static_cast<std::uint16_t>((static_cast<unsigned char>(high[k]) << 8) |
                                                     static_cast<unsigned char>(low[k]));
        if (word != image.words[k]) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream crom(bytes);
    std::ostringstream errors;
    if (const auto image = zoltas::readCromImage(crom, "fuzz.rom", errors)) {
        roundTrip(*image);
    }
    if (size >= 4) {
        zoltas::MemoryImage image;
        image.start = static_cast<std::uint16_t>(data[0] << 8 | data[1]);
        const std::size_t words = (size - 2) / 2;
        for (std::size_t k = 0; k < words && image.start + k <= 0xFFFF; ++k) {
            image.words.push_back(
                static_cast<std::uint16_t>(data[2 + 2 * k] << 8 | data[3 + 2 * k]));
        }
        if (!image.words.empty()) {
            roundTrip(image);
        }
    }
    return 0;
}
