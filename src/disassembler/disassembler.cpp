#include "disassembler/disassembler.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

#include "driver/file_system.h"
#include "driver/reporter.h"
#include "driver/tool_run.h"
#include "isa/instruction_table.h"
#include "source/assembly_state.h"
#include "source/data_directives.h"
#include "source/line_loop.h"

namespace zoltas {

namespace {

// zoltas stops reading before a line at which the highest address lies this far or more above
// the start address, with the size limit it starts with, which is the largest.
constexpr auto kWordLimit = static_cast<std::uint32_t>(wordLimitDistance(kInitialSizeLimit));

// A `.start` line this often keeps the distance to the start address, and so the word limit,
// far away while the body of a long image is placed.
constexpr std::uint32_t kRebaseInterval = 30000;

// Zero words that become a gap: fewer in code are more likely meant as nop.
constexpr std::uint32_t kCodeGap = 4;
constexpr std::uint32_t kDataGap = 2;

// Characters that become a string among words that code does not reach; in a text range any.
constexpr std::uint32_t kShortestString = 3;

// Characters of a string line; a longer run goes on on the next line.
constexpr std::uint32_t kStringLine = 64;

// Targets found in one decoding can move the decoding of the next; it settles in two or three
// rounds, and any round gives a correct source.
constexpr int kDecodingRounds = 16;

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

// The two-word mnemonics of the jump and branch families, calls included: their operand is an
// address the program goes to.
bool takesTarget(const InstructionRow& row) {
    return row.wordCount == 2 && (row.mnemonic[0] == 'j' || row.mnemonic[0] == 'b');
}

// After these the next word is not reached by running on: unconditional jumps, returns, halt
// and reset. The calls (jsr, jsi, jsx, jsy, jisx, jisy, jsph) come back, so they are not here.
bool endsFlow(const InstructionRow& row) {
    static constexpr std::array<std::string_view, 16> kEnds = {
        "jmp",  "jti",  "jta", "jtb", "jax", "jay", "jia", "jib",
        "jiax", "jiay", "jtx", "jty", "rts", "rti", "hlt", "reset"};
    for (const std::string_view name : kEnds) {
        if (row.mnemonic == name) {
            return true;
        }
    }
    return false;
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

// The characters that make a string readable: printable ASCII.
bool isPrintable(std::uint16_t word) {
    return word >= 0x20 && word < 0x7F;
}

enum class ItemKind : std::uint8_t {
    instruction,
    dataWord,
    string,
    gap,
    // The last word of an image past the word limit that ends below $ffff: a string running
    // on to $ffff, or at $fffe a two-word instruction.
    wrappingString,
    wrappingInstruction,
};

// One line of the body (a gap: one .org), and the words it covers from `address` on.
struct Item {
    std::uint32_t address = 0;
    std::uint32_t words = 1;
    ItemKind kind = ItemKind::dataWord;
    const InstructionRow* row = nullptr;
    bool zeroTerminated = false;
    bool blankAfter = false;
};

// How the body of an image is cut into lines: which words are code, data, text and gaps.
class Layout {
  public:
    // The body runs from the image's start to `end`; with `lineAtEnd` a line must start at
    // `end` (it is the image's last address), otherwise the line after the body starts at
    // end + 1.
    Layout(const MemoryImage& image, std::uint32_t end, bool lineAtEnd, bool readable,
           const Annotations* annotations)
        : image_(image),
          first_(image.start),
          end_(end),
          last_(image.start + static_cast<std::uint32_t>(image.words.size()) - 1),
          lineAtEnd_(lineAtEnd),
          readable_(readable),
          kinds_(image.words.size(), RangeKind::automatic),
          marks_(image.words.size(), 0) {
        if (annotations != nullptr && readable) {
            for (const NamedAddress& label : annotations->labels) {
                mark(label.address, kNamed);
            }
            for (const AddressRange& range : annotations->ranges) {
                for (std::uint32_t a = range.first; a <= range.last; ++a) {
                    if (inImage(a)) {
                        kinds_[a - first_] = range.kind;
                    }
                }
                mark(range.first, kBoundary);
                mark(range.last + 1u, kBoundary);
            }
        }
    }

    // Decodes until the targets of the code found are all places where a line starts.
    std::vector<Item> items() {
        std::vector<std::uint32_t> found;
        std::vector<Item> result = decodeOnce(found);
        for (int round = 1; readable_ && round < kDecodingRounds; ++round) {
            bool grew = false;
            for (const std::uint32_t target : found) {
                grew = grew || (marks_[target - first_] & kTarget) == 0;
                mark(target, kTarget);
            }
            if (!grew) {
                break;
            }
            found.clear();
            result = decodeOnce(found);
        }
        return result;
    }

    [[nodiscard]] bool inImage(std::uint32_t address) const {
        return address >= first_ && address <= last_;
    }
    [[nodiscard]] std::uint16_t at(std::uint32_t address) const {
        return image_.words[address - first_];
    }

  private:
    static constexpr std::uint8_t kNamed = 1;
    static constexpr std::uint8_t kBoundary = 2;
    static constexpr std::uint8_t kTarget = 4;

    void mark(std::uint32_t address, std::uint8_t what) {
        if (inImage(address)) {
            marks_[address - first_] |= what;
        }
    }

    // A line must start here: a name, the edge of a range, or where code goes.
    [[nodiscard]] bool fixed(std::uint32_t address) const { return marks_[address - first_] != 0; }

    // The end (exclusive) of what a run of words from `address` may cover: the word at `end_`
    // only as the first word of its line when a line must start there.
    [[nodiscard]] std::uint32_t coverLimit(std::uint32_t address) const {
        return lineAtEnd_ && address < end_ ? end_ : end_ + 1;
    }

    // Words from `address` that pass `keep`, up to a place where a line must start.
    template <typename Keep>
    [[nodiscard]] std::uint32_t runLength(std::uint32_t address, Keep keep) const {
        const std::uint32_t limit = coverLimit(address);
        std::uint32_t b = address;
        while (b < limit && keep(at(b)) && (b == address || !fixed(b))) {
            ++b;
        }
        return b - address;
    }

    std::vector<Item> decodeOnce(std::vector<std::uint32_t>& found) const {
        std::vector<Item> items;
        bool reached = true;
        std::uint32_t a = first_;
        while (a <= end_) {
            if ((marks_[a - first_] & kTarget) != 0) {
                reached = true;
            }
            const RangeKind kind = kinds_[a - first_];
            const bool code = kind == RangeKind::code || (kind == RangeKind::automatic && reached);
            Item item;
            item.address = a;
            if (readable_ && (kind == RangeKind::automatic || kind == RangeKind::code)) {
                const std::uint32_t zeros = runLength(a, [](std::uint16_t w) { return w == 0; });
                if (zeros >= (code ? kCodeGap : kDataGap)) {
                    item.kind = ItemKind::gap;
                    item.words = zeros;
                    items.push_back(item);
                    a += zeros;
                    continue;
                }
            }
            if (code) {
                const InstructionRow* row = decode(at(a));
                // A two-word instruction whose operand would be the last word, or lie past the
                // body, or where another line must start, is placed as data.
                const bool fits = a + 1 < coverLimit(a) && !fixed(a + 1);
                if (row != nullptr && (row->wordCount == 1 || fits)) {
                    item.kind = ItemKind::instruction;
                    item.row = row;
                    item.words = row->wordCount;
                    if (readable_ && takesTarget(*row) && inImage(at(a + 1))) {
                        found.push_back(at(a + 1));
                    }
                    if (readable_ && endsFlow(*row)) {
                        reached = false;
                        item.blankAfter = true;
                    }
                }
                items.push_back(item);
                a += item.words;
                continue;
            }
            if (readable_ && kind != RangeKind::data) {
                const std::uint32_t length = runLength(a, isPrintable);
                if (length >= (kind == RangeKind::text ? 1 : kShortestString)) {
                    const std::uint32_t after = a + length;
                    const bool terminated =
                        after < coverLimit(a) && at(after) == 0 && !fixed(after);
                    for (std::uint32_t done = 0; done < length; done += kStringLine) {
                        item.address = a + done;
                        item.kind = ItemKind::string;
                        item.words = std::min(kStringLine, length - done);
                        item.zeroTerminated = terminated && done + item.words == length;
                        items.push_back(item);
                    }
                    a = after + (terminated ? 1 : 0);
                    continue;
                }
            }
            items.push_back(item);
            a += 1;
        }
        return items;
    }

    const MemoryImage& image_;
    std::uint32_t first_;
    std::uint32_t end_;
    std::uint32_t last_;
    bool lineAtEnd_;
    bool readable_;
    std::vector<RangeKind> kinds_;
    std::vector<std::uint8_t> marks_;
};

// The names that lines and operands use: labels at the places where lines start, from the
// annotations or made up for the targets of code, and constants for operand values.
class Naming {
  public:
    struct Label {
        std::string name;
        std::uint32_t address;
        bool used;
    };

    // Every operand of `items` as it is written, resolved before any line is, so that a label
    // that a later line refers to stands in front of its own line.
    Naming(const Layout& layout, const std::vector<Item>& items, bool readable,
           const Annotations* annotations)
        : readable_(readable) {
        for (const Item& item : items) {
            lineStarts_.push_back(item.address);
        }
        if (annotations != nullptr && readable) {
            for (const NamedAddress& label : annotations->labels) {
                taken_.define(label.name, 0);
                if (layout.inImage(label.address)) {
                    labels_.push_back({label.name, label.address, false});
                    byAddress_.emplace(label.address, labels_.size() - 1);
                }
            }
            for (std::size_t k = 0; k < annotations->constants.size(); ++k) {
                constantOf_.try_emplace(annotations->constants[k].value, k);
            }
            constants_ = &annotations->constants;
        }
        for (const Item& item : items) {
            if (item.kind == ItemKind::instruction && item.row->wordCount == 2) {
                operands_.push_back(operand(item, layout.at(item.address + 1)));
            } else if (item.kind == ItemKind::dataWord) {
                operands_.push_back(operand(item, layout.at(item.address)));
            } else {
                operands_.emplace_back();
            }
        }
    }

    // The operand of the k-th item.
    [[nodiscard]] const std::string& operandOf(std::size_t k) const { return operands_[k]; }

    // The labels at `address`, the one that references use first.
    [[nodiscard]] std::vector<const Label*> labelsAt(std::uint32_t address) const {
        std::vector<const Label*> found;
        const auto [from, to] = byAddress_.equal_range(address);
        for (auto it = from; it != to; ++it) {
            found.push_back(&labels_[it->second]);
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    // The constants operands use, each once, in the order of the annotations.
    [[nodiscard]] std::vector<const NamedValue*> usedConstants() const {
        std::vector<std::size_t> indices = usedConstants_;
        std::sort(indices.begin(), indices.end());
        indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
        std::vector<const NamedValue*> used;
        for (const std::size_t k : indices) {
            used.push_back(&(*constants_)[k]);
        }
        return used;
    }

  private:
    // The operand of a two-word instruction, or a .d word, as a reference where a name fits:
    // a label at a place where a line starts, and for the operand of any other instruction
    // than a jump, branch or call a constant of that value.
    std::string operand(const Item& item, std::uint16_t value) {
        if (!readable_) {
            return hexValue(value);
        }
        const bool target = item.kind == ItemKind::instruction && takesTarget(*item.row);
        if (const auto label = labelAt(value, target)) {
            return "/" + *label;
        }
        if (item.kind == ItemKind::instruction && !target && constants_ != nullptr) {
            if (const auto found = constantOf_.find(value); found != constantOf_.end()) {
                usedConstants_.push_back(found->second);
                return "\\" + (*constants_)[found->second].name;
            }
        }
        return hexValue(value);
    }

    // The label named for `address` when a line starts there; for a target of code one made
    // up when the annotations name none.
    std::optional<std::string> labelAt(std::uint16_t address, bool target) {
        if (!std::binary_search(lineStarts_.begin(), lineStarts_.end(), address)) {
            return std::nullopt;
        }
        const auto [from, to] = byAddress_.equal_range(address);
        if (from != to) {
            std::size_t first = from->second;
            for (auto it = from; it != to; ++it) {
                first = std::min(first, it->second);
            }
            labels_[first].used = true;
            return labels_[first].name;
        }
        if (!target) {
            return std::nullopt;
        }
        std::string name = "L" + hex4(address);
        while (taken_.find(name)) {
            name += '_';
        }
        taken_.define(name, 0);
        labels_.push_back({name, address, true});
        byAddress_.emplace(address, labels_.size() - 1);
        return name;
    }

    bool readable_;
    std::vector<std::uint32_t> lineStarts_;
    std::vector<Label> labels_;
    std::unordered_multimap<std::uint32_t, std::size_t> byAddress_;
    SymbolTable taken_;
    std::unordered_map<std::uint16_t, std::size_t> constantOf_;
    const std::vector<NamedValue>* constants_ = nullptr;
    std::vector<std::size_t> usedConstants_;
    std::vector<std::string> operands_;
};

class SourceWriter {
  public:
    // `start`: the address at which the lines begin, the start address in force there.
    SourceWriter(const Layout& layout, bool rebase, std::uint32_t start = 0)
        : layout_(layout), rebase_(rebase), address_(start), base_(start) {}

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
        address_ = address;
        base_ = address;
    }

    // The lines of the body. Label lines go in front of the line at their address; names that
    // no reference uses are comments, so the source assembles without a warning.
    void body(const std::vector<Item>& items, const Naming& naming) {
        for (std::size_t k = 0; k < items.size(); ++k) {
            const Item& item = items[k];
            keepLimitAway(item.address);
            for (const Naming::Label* label : naming.labelsAt(item.address)) {
                if (!label->used) {
                    line("; " + label->name + ":");
                } else if (label->name.size() < 2) {
                    line(label->name + ":\t;");  // a line of two characters would be skipped
                } else {
                    line(label->name + ":");
                }
            }
            writeItem(item, naming.operandOf(k));
            if (item.blankAfter && k + 1 < items.size()) {
                line("");
            }
        }
    }

    void constants(const std::vector<const NamedValue*>& used) {
        for (const NamedValue* constant : used) {
            line(".c " + constant->name + "=" + hexValue(constant->value));
        }
    }

    [[nodiscard]] const std::string& source() const { return source_; }

  private:
    void writeItem(const Item& item, const std::string& operand) {
        const std::string where = "\t; " + hexValue(static_cast<std::uint16_t>(item.address));
        switch (item.kind) {
            case ItemKind::instruction: {
                std::string text = "\t";
                text += item.row->mnemonic;
                if (item.row->wordCount == 2) {
                    text += ' ';
                    text += operand;
                }
                line(text + where);
                break;
            }
            case ItemKind::dataWord:
                line(".d " + operand + where);
                break;
            case ItemKind::string: {
                // The line ends with the closing quote: a comment after it would belong to the
                // string.
                std::string text = item.zeroTerminated ? ".z \"" : ".s \"";
                for (std::uint32_t k = 0; k < item.words; ++k) {
                    text += static_cast<char>(layout_.at(item.address + k));
                }
                line(text + "\"");
                break;
            }
            case ItemKind::gap:
                moveTo(item.address + item.words);
                return;
            case ItemKind::wrappingString: {
                // Runs from the last address to $ffff and wraps, so the next line starts at 0.
                line("; " + hexValue(static_cast<std::uint16_t>(item.address)) +
                     ", and filler up to $ffff:");
                std::string text = ".s \"";
                text += static_cast<char>(layout_.at(item.address) & 0xFF);
                text.append(0xFFFF - item.address, 'x');
                text += '"';
                line(text);
                break;
            }
            case ItemKind::wrappingInstruction: {
                std::string text = "\t";
                text += item.row->mnemonic;
                text += " $0000\t; $fffe, its operand at $ffff";
                line(text);
                break;
            }
        }
        address_ = item.address + item.words;
    }

    // Before a line at `address`: a `.start` there when the start address lies so far behind
    // that the word limit would come near.
    void keepLimitAway(std::uint32_t address) {
        if (rebase_ && address - base_ >= kRebaseInterval) {
            startHere();
        }
    }

    void startHere() {
        line(".start\t; keeps the word limit away; the start is set at the end");
        base_ = address_;
    }

    // Leaves words at 0 up to `target`. A long jump in a long image goes in hops, each one
    // short enough that the line after it stays far from the word limit.
    void moveTo(std::uint32_t target) {
        while (rebase_ && target - address_ > kRebaseInterval) {
            startHere();
            address_ += kRebaseInterval;
            line(".org " + hexValue(static_cast<std::uint16_t>(address_)));
        }
        keepLimitAway(address_);
        line(".org " + hexValue(static_cast<std::uint16_t>(target)));
        address_ = target;
    }

    const Layout& layout_;
    bool rebase_;
    std::string source_;
    std::uint32_t address_;  // where the next line starts
    std::uint32_t base_;     // the start address in force
};

// Whether zoltas assembles `source` into exactly `image`, without a warning.
bool reassemblesTo(const std::string& source, const MemoryImage& image) {
    MemoryFileSystem files;
    files.files["zoltdis.asm"] = source;
    const ToolRun run = runPassesForTool(files, "zoltdis.asm");
    if (run.status != 0 || run.state.warningCount != 0) {
        return false;
    }
    const MemoryImage written = outputImage(run.state);
    return written.start == image.start && written.words == image.words;
}

std::string writeSource(const MemoryImage& image, const std::string& origin, bool crom,
                        bool readable, const Annotations* annotations) {
    const std::uint32_t first = image.start;
    const std::uint32_t count = static_cast<std::uint32_t>(image.words.size());
    const std::uint32_t last = first + count - 1;
    const bool beyondLimit = count - 1 >= kWordLimit;
    const InstructionRow* lastRow = decode(image.words.back());
    const bool wrapsByInstruction = last == 0xFFFE && lastRow != nullptr && lastRow->wordCount == 2;
    // Past the word limit and below $ffff, the last word comes from a line that wraps the
    // address to 0, and the body stops before it.
    const bool wraps = beyondLimit && last < 0xFFFF;

    Layout layout(image, wraps ? last - 1 : last, !wraps, readable, annotations);
    std::vector<Item> items = layout.items();
    if (wraps) {
        Item wrapping;
        wrapping.address = last;
        wrapping.kind =
            wrapsByInstruction ? ItemKind::wrappingInstruction : ItemKind::wrappingString;
        wrapping.row = lastRow;
        items.push_back(wrapping);
    }
    const Naming naming(layout, items, readable, annotations);
    SourceWriter body(layout, beyondLimit, first);
    body.body(items, naming);

    SourceWriter out(layout, beyondLimit);
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
    out.constants(naming.usedConstants());
    std::string source = out.source();
    if (image.start != 0) {
        SourceWriter start(layout, false);
        start.setStart(image.start);
        source += start.source();
    }
    source += body.source();
    if (beyondLimit) {
        // The address has wrapped to 0, so these lines raise the highest address no more.
        source += ".org " + hexValue(image.start) + "\n.start\n";
    }
    return source;
}

}  // namespace

std::optional<Disassembly> disassemble(const MemoryImage& image, const std::string& origin,
                                       bool crom, const DisassemblyOptions& options,
                                       std::string& whyNot) {
    if (image.words.empty() || image.words.size() > 0x10000u - image.start) {
        whyNot = "it is empty or runs past $ffff";
        return std::nullopt;
    }
    const std::uint32_t count = static_cast<std::uint32_t>(image.words.size());
    const std::uint32_t last = image.start + count - 1;
    const std::uint16_t lastWord = image.words.back();

    // An image that reaches the word limit can only be written if its last line starts at its
    // last address after all other words are placed, and, below $ffff, nothing may follow that
    // line unless it leaves the address wrapped to 0: a string that runs on to $ffff, or at
    // $fffe a two-word instruction whose operand goes to $ffff.
    const InstructionRow* lastRow = decode(lastWord);
    const bool wrapsByInstruction = last == 0xFFFE && lastRow != nullptr && lastRow->wordCount == 2;
    if (count - 1 >= kWordLimit && last < 0xFFFF && !isStringCharacter(lastWord) &&
        !wrapsByInstruction) {
        whyNot = "its last word " + hexValue(lastWord) + " at " +
                 hexValue(static_cast<std::uint16_t>(last)) +
                 " lies beyond the word limit, and no line that could place it may be followed "
                 "by another";
        return std::nullopt;
    }

    Disassembly result;
    if (options.readable) {
        result.source = writeSource(image, origin, crom, true, options.annotations);
        if (reassemblesTo(result.source, image)) {
            return result;
        }
        result.fellBack = true;
    }
    result.source = writeSource(image, origin, crom, false, nullptr);
    return result;
}

}  // namespace zoltas
