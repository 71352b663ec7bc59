// Token ends, numbers, reference names and case-insensitive name lookup: the small services
// that every line class and both resolution passes share. None of them prints anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "source/name_list.h"

namespace zoltas {

// TAB, space and ";" end a token; ";" also starts a comment.
constexpr bool isSeparator(char c) {
    return c == '\t' || c == ' ' || c == ';';
}

// Index of the first separator, except that a text without one, or whose first separator is its
// last character, ends at its full length ("nop " is a four-character token).
[[nodiscard]] std::size_t tokenEnd(std::string_view text);

// Decimal, "$" hexadecimal or "%" binary, read like strtol with that base: leading white space,
// a sign, "0x" in base 16, then the longest run of digits; the rest is ignored. Empty when no
// digit was read or the value leaves the signed 32-bit range.
[[nodiscard]] std::optional<std::int32_t> readNumber(std::string_view text);

// The same reading, with where it stopped: the index after the last digit read (0 when none was).
struct NumberReading {
    std::optional<std::int32_t> value;
    std::size_t digitsEnd = 0;
};
[[nodiscard]] NumberReading readNumberPrefix(std::string_view text);

// The name after the "/" or "\" that starts `token`. A blank or TAB ends it; a ";" ends it too
// but stays its last character.
[[nodiscard]] std::string_view referenceName(std::string_view token);

// Lowers A to Z only; every other byte stays as it is.
constexpr char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// Same length and the same bytes once A to Z are lowered.
[[nodiscard]] bool equalFolded(std::string_view a, std::string_view b);

// The secret of a name hash: without it no one can write names that all hash alike, which would
// make every lookup walk all of them.
struct HashKey {
    std::uint64_t k0 = 0;
    std::uint64_t k1 = 0;
};

// A key from the system's random source, different in every run.
[[nodiscard]] HashKey randomHashKey();

// SipHash-1-3 of the name with A to Z folded, so names that are equalFolded hash alike.
[[nodiscard]] std::uint64_t foldedHash(std::string_view name, const HashKey& key);

// Index of the first name equal to `name` with only A to Z folded.
[[nodiscard]] std::optional<std::size_t> findName(const NameList& names, std::string_view name);

}  // namespace zoltas
