// libFuzzer entry for zoltdis: the input is read as a CROM file, and as a BIN pair (two halves,
// start address from the first two bytes). Whatever disassembles must assemble back into the
// same image, in its readable form (labels, gaps, strings, data ranges, and names at addresses
// that the input's own words give) and in its plain one; zoltdis may refuse an image only where
// no source can write it.
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

void roundTrip(const zoltas::MemoryImage& image, const zoltas::DisassemblyOptions& options) {
    std::string whyNot;
    const auto result = zoltas::disassemble(image, "fuzz", false, options, whyNot);
    if (!result) {
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
    if (result->fellBack) {
        std::abort();
    }
    auto run = zoltas::test::runZoltas({{"dis.asm", result->source}}, {"dis.asm", "out"});
    if (run.status != 0 || run.console.find("WARN") != std::string::npos) {
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

// Both forms; the readable one also with a name at the address of every eighth word's value and
// a data, text and code range where the first words point. A long image gets the readable form
// alone, which keeps a run of the fuzzer at many inputs (the tests take long images through all).
void roundTrips(const zoltas::MemoryImage& image) {
    if (image.words.size() > 4096) {
        roundTrip(image, {});
        return;
    }
    zoltas::DisassemblyOptions plain;
    plain.readable = false;
    roundTrip(image, plain);
    roundTrip(image, {});
    zoltas::Annotations notes;
    for (std::size_t k = 0; k < image.words.size(); k += 8) {
        (void)notes.addLabel({image.words[k], "n" + std::to_string(k)}, "fuzz");
        (void)notes.addConstant({image.words[k], "c" + std::to_string(k)}, "fuzz");
    }
    for (std::size_t k = 0; k + 1 < image.words.size() && k < 6; k += 2) {
        const auto first = std::min(image.words[k], image.words[k + 1]);
        const auto last = std::max(image.words[k], image.words[k + 1]);
        (void)notes.addRange({first, last, static_cast<zoltas::RangeKind>(1 + k / 2)}, "fuzz");
    }
    zoltas::DisassemblyOptions named;
    named.annotations = &notes;
    roundTrip(image, named);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream crom(bytes);
    std::ostringstream errors;
    if (const auto image = zoltas::readCromImage(crom, "fuzz.rom", errors)) {
        roundTrips(*image);
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
            roundTrips(image);
        }
    }
    return 0;
}
