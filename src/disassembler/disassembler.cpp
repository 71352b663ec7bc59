#include "disassembler/disassembler.h"

#include <array>
#include <charconv>

#include "driver/reporter.h"
#include "isa/instruction_table.h"
#include "source/data_directives.h"
#include "source/line_loop.h"
#include "source/line_reader.h"
#include "source/syntax.h"

namespace zoltas {

namespace {

// zoltas stops reading before a line at which the highest address lies this far or more above
// the start address, with the size limit it starts with, which is the largest.
constexpr auto kWordLimit = static_cast<std::uint32_t>(wordLimitDistance(kInitialSizeLimit));

// A `.start` line this often keeps the distance to the start address, and so the word limit,
// far away while the body of a long image is placed.
constexpr std::uint32_t kRebaseInterval = 30000;

// The first mnemonic of every opcode word: where two share one, the first in the table.
const std::array<const InstructionRow*, 256>& rowsByOpcode() {
    static const std::array<const InstructionRow*, 256> rows = [] {
        std::array<const InstructionRow*, 256> byOpcode{};
        for (const InstructionRow& row : instructionTable()) {
            if (byOpcode[row.opcodeWord] == nullptr) {
                byOpcode[row.opcodeWord] = &row;
            }
        }
        return byOpcode;
    }();
    return rows;
}

const InstructionRow* decode(std::uint16_t word) {
    return word < 256 ? rowsByOpcode()[word] : nullptr;
}

std::string hexValue(std::uint16_t value) {
    std::string text = "$";
    text += hex4(value);
    return text;
}

// A word that a string can place: the word of a character, and not a line feed, which would end
// the line that holds the string.
bool isStringCharacter(std::uint16_t word) {
    return word == characterWord(static_cast<char>(word & 0xFF)) && word != 0x000A;
}

class SourceWriter {
  public:
    explicit SourceWriter(const MemoryImage& image) : image_(image) {}

    void line(const std::string& text) {
        source_ += text;
        source_ += '\n';
    }

    // `.org` then `.start` at `address`; through $8000 when the start lies so high that the
    // `.start` line itself would meet the word limit counted from 0.
    void setStart(std::uint16_t address) {
        if (address >= kWordLimit) {
            line(".org $8000");
            line(".start");
        }
        line(".org " + hexValue(address));
        line(".start");
    }

    // Instruction and data lines for the words from `first` up to and including `last`, each
    // with its address in a comment. `rebase` adds a `.start` line every so often.
    void body(std::uint32_t first, std::uint32_t last, bool rebase) {
        std::uint32_t base = first;
        std::uint32_t address = first;
        while (address <= last) {
            if (rebase && address - base >= kRebaseInterval) {
                line(".start\t; keeps the word limit away; the start is set at the end");
                base = address;
            }
            const std::uint16_t word = at(address);
            const InstructionRow* row = decode(word);
            const std::string where = "\t; " + hexValue(static_cast<std::uint16_t>(address));
            // A two-word instruction whose operand would be the last word, or lie past it, is
            // placed as data: the last line must start at the last address, since zoltas ends
            // its output at the highest address at which a line started.
            if (row != nullptr && row->wordCount == 2 && address + 1 < last) {
                std::string text = "\t";
                text += row->mnemonic;
                text += ' ';
                text += hexValue(at(address + 1));
                line(text + where);
                address += 2;
            } else if (row != nullptr && row->wordCount == 1) {
                std::string text = "\t";
                text += row->mnemonic;
                line(text + where);
                address += 1;
            } else {
                line(".d " + hexValue(word) + where);
                address += 1;
            }
        }
    }

    [[nodiscard]] std::uint16_t at(std::uint32_t address) const {
        return image_.words[address - image_.start];
    }

    [[nodiscard]] const std::string& source() const { return source_; }

  private:
    const MemoryImage& image_;
    std::string source_;
};

}  // namespace

std::optional<std::string> disassemble(const MemoryImage& image, const std::string& origin,
                                       bool crom, std::string& whyNot) {
    if (image.words.empty() || image.words.size() > 0x10000u - image.start) {
        whyNot = "it is empty or runs past $ffff";
        return std::nullopt;
    }
    const std::uint32_t first = image.start;
    const std::uint32_t count = static_cast<std::uint32_t>(image.words.size());
    const std::uint32_t last = first + count - 1;
    SourceWriter out(image);
    const auto lastWord = out.at(last);

    // An image that reaches the word limit can only be written if its last line starts at its
    // last address after all other words are placed, and, below $ffff, nothing may follow that
    // line unless it leaves the address wrapped to 0: a string that runs on to $ffff, or at
    // $fffe a two-word instruction whose operand goes to $ffff.
    const bool beyondLimit = count - 1 >= kWordLimit;
    const InstructionRow* lastRow = decode(lastWord);
    const bool wrapsByInstruction = last == 0xFFFE && lastRow != nullptr && lastRow->wordCount == 2;
    if (beyondLimit && last < 0xFFFF && !isStringCharacter(lastWord) && !wrapsByInstruction) {
        whyNot = "its last word " + hexValue(lastWord) + " at " +
                 hexValue(static_cast<std::uint16_t>(last)) +
                 " lies beyond the word limit, and no line that could place it may be followed "
                 "by another";
        return std::nullopt;
    }

    // A control character in a file name would end or change the comment line.
    std::string shownOrigin = origin;
    for (char& c : shownOrigin) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    out.line("; Disassembled by zoltdis from " + shownOrigin + ": " + std::to_string(count) +
             " words, " + hexValue(image.start) + " to " +
             hexValue(static_cast<std::uint16_t>(last)) + ".");
    out.line(crom ? "; Assemble with: zoltas THIS-FILE OUTPUT-FILE rom"
                  : "; Assemble with: zoltas THIS-FILE NAME (writes HI_NAME and LO_NAME)");
    if (image.start != 0) {
        out.setStart(image.start);
    }
    if (!beyondLimit) {
        out.body(first, last, false);
        return out.source();
    }
    if (last == 0xFFFF) {
        out.body(first, last, true);
    } else if (wrapsByInstruction) {
        out.body(first, last - 1, true);
        std::string text = "\t";
        text += lastRow->mnemonic;
        text += " $0000\t; $fffe, its operand at $ffff";
        out.line(text);
    } else {
        out.body(first, last - 1, true);
        // Runs from the last address to $ffff and wraps, so the next line starts at 0. The line
        // ends with the closing quote: a comment after it would belong to the string.
        out.line("; " + hexValue(static_cast<std::uint16_t>(last)) + ", and filler up to $ffff:");
        std::string text = ".s \"";
        text += static_cast<char>(lastWord & 0xFF);
        text.append(0xFFFF - last, 'x');
        text += '"';
        out.line(text);
    }
    // The address has wrapped to 0, so these lines raise the highest address no more.
    out.line(".org " + hexValue(image.start));
    out.line(".start");
    return out.source();
}

namespace {

// The whole argument is the address, in decimal, "$" hexadecimal or "%" binary.
std::optional<std::uint16_t> readStartAddress(const std::string& text) {
    const std::string_view digits = text.empty() || (text[0] != '$' && text[0] != '%')
                                        ? std::string_view(text)
                                        : std::string_view(text).substr(1);
    const char* allowed = text.empty()     ? ""
                          : text[0] == '$' ? "0123456789abcdefABCDEF"
                          : text[0] == '%' ? "01"
                                           : "0123456789";
    if (digits.empty() || digits.find_first_not_of(allowed) != std::string_view::npos) {
        return std::nullopt;
    }
    const auto value = readNumber(text);
    if (!value || *value < 0 || *value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*value);
}

void usage(std::ostream& errors) {
    errors << "Usage:\n\tzoltdis crom-file\n\tzoltdis [--start address] hi-file lo-file\n";
}

}  // namespace

int runDisassembler(int argc, const char* const* argv, std::ostream& out, std::ostream& errors,
                    FileSystem& files) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    std::uint16_t start = 0;
    bool startGiven = false;
    if (args.size() >= 2 && args[0] == "--start") {
        const auto value = readStartAddress(args[1]);
        if (!value) {
            errors << "Error: Invalid start address \"" << args[1] << "\"\n";
            return 1;
        }
        start = *value;
        startGiven = true;
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty() || args.size() > 2 || (args.size() == 1 && startGiven)) {
        usage(errors);
        return 1;
    }

    std::optional<MemoryImage> image;
    std::string origin;
    const bool crom = args.size() == 1;
    if (crom) {
        image = readCromFile(files, args[0], errors);
        origin = args[0];
    } else {
        image = readBinPair(files, args[0], args[1], start, errors);
        origin = args[0] + " and " + args[1];
    }
    if (!image) {
        return 1;
    }

    std::string whyNot;
    const auto source = disassemble(*image, origin, crom, whyNot);
    if (!source) {
        errors << "Error: No source can make zoltas write exactly this image: " << whyNot << "\n";
        return 1;
    }
    out << *source << std::flush;
    return 0;
}

}  // namespace zoltas
