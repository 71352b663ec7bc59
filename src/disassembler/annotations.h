// What a user may tell zoltdis about an image besides its words: names of addresses and values
// (a symbol file as `zolt symbols` writes it) and ranges of code, data words and text (an info
// file). Both are read here; the disassembler only uses what they hold.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "source/assembly_state.h"

namespace zoltas {

struct NamedAddress {
    std::uint16_t address = 0;
    std::string name;
};

struct NamedValue {
    std::uint16_t value = 0;
    std::string name;
};

// How the words of a range are shown: `code` as instructions, `data` as .d words, `text` as
// strings where they are characters.
enum class RangeKind : std::uint8_t { automatic, code, data, text };

struct AddressRange {
    std::uint16_t first = 0;
    std::uint16_t last = 0;
    RangeKind kind = RangeKind::automatic;
};

// Every name is one that a reference reaches and a label line or .c line can define, and no two
// names of one kind are equal with A to Z folded. Earlier entries come first.
class Annotations {
  public:
    Annotations();

    std::vector<NamedAddress> labels;
    std::vector<NamedValue> constants;
    std::vector<AddressRange> ranges;  // never overlapping

    // Adds a name read at `where` (FILE:LINE); the error text when it cannot be added. A name
    // given again with the same value is left out.
    [[nodiscard]] std::optional<std::string> addLabel(NamedAddress label, const std::string& where);
    [[nodiscard]] std::optional<std::string> addConstant(NamedValue constant,
                                                         const std::string& where);
    [[nodiscard]] std::optional<std::string> addRange(AddressRange range, const std::string& where);

  private:
    SymbolTable labelIndex_;
    SymbolTable constantIndex_;
    std::vector<std::string> labelWhere_;
    std::vector<std::string> constantWhere_;
    std::vector<std::string> rangeWhere_;
};

// A symbol file: "NAME = $hhhh" names an address, "\NAME = $hhhh" a value; lines starting with
// ";" and empty lines are comments. Adds to `into`; false after an error written to `errors` as
// FILE:LINE: error: TEXT.
[[nodiscard]] bool readSymbolFile(std::istream& file, const std::string& name, Annotations& into,
                                  std::ostream& errors);

// An info file, one entry a line, fields apart by blanks or TABs, ";" starting a comment:
//   label ADDRESS NAME        code FIRST LAST        data FIRST LAST        text FIRST LAST
// Addresses in decimal, "$" hexadecimal or "%" binary; ranges include both ends.
[[nodiscard]] bool readInfoFile(std::istream& file, const std::string& name, Annotations& into,
                                std::ostream& errors);

// An address or value from 0 to 65535, the whole text in decimal, "$" hexadecimal or "%" binary.
[[nodiscard]] std::optional<std::uint16_t> readWholeAddress(std::string_view text);

}  // namespace zoltas
