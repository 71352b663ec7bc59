#include "source/syntax.h"

#include <bit>
#include <cstring>

namespace zoltas {

std::size_t tokenEnd(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    std::size_t k = 0;
    if (!isSeparator(text[0])) {
        k = 1;
        while (k < text.size() && !isSeparator(text[k])) {
            ++k;
        }
        if (k == text.size()) {
            k = text.size() - 1;
        }
    }
    // A separator in the last position stays in the token.
    return k == text.size() - 1 ? text.size() : k;
}

namespace {

// White space as strtol skips it in the C locale.
constexpr bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return 99;
}

}  // namespace

std::optional<std::int32_t> readNumber(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    int base = 10;
    if (text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text[0] == '%') {
        base = 2;
        text.remove_prefix(1);
    }

    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // "0x" counts as a prefix only when a hexadecimal digit follows; otherwise the "0" is the
    // number and reading stops at the "x".
    if (base == 16 && i + 2 < text.size() && text[i] == '0' &&
        (text[i + 1] == 'x' || text[i + 1] == 'X') && digitValue(text[i + 2]) < 16) {
        i += 2;
    }

    // Anything past 2^31 is out of range for either sign, so the magnitude stops growing there.
    constexpr std::int64_t kBeyondRange = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    bool anyDigit = false;
    for (; i < text.size() && digitValue(text[i]) < base; ++i) {
        anyDigit = true;
        if (magnitude <= kBeyondRange) {
            magnitude = magnitude * base + digitValue(text[i]);
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::string_view referenceName(std::string_view token) {
    for (std::size_t k = 1; k < token.size(); ++k) {
        if (token[k] == ';') {
            return token.substr(1, k);
        }
        if (isSeparator(token[k])) {
            return token.substr(1, k - 1);
        }
    }
    return token.size() > 1 ? token.substr(1) : std::string_view{};
}

std::string foldAscii(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = foldAscii(c);
    }
    return folded;
}

namespace {

// Lowers A to Z in each byte of an 8-byte word at once: a byte gets 0x20 added when its low seven
// bits lie in 'A'..'Z' and its top bit is clear. No addition carries into the next byte.
constexpr std::uint64_t foldWord(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    const std::uint64_t low7 = word & (0x7F * kOnes);
    const std::uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
    const std::uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * kOnes;
    const std::uint64_t upper = atLeastA & ~aboveZ & ~word & (0x80 * kOnes);
    return word | (upper >> 2);
}

// Bytes `at` to `at` + 7 of the text, zero-padded past its end. A short tail of a text of eight
// bytes or more is read as the last eight bytes, shifted so that only the tail stays. The byte
// order inside the word differs between machines; hash and comparison only need it the same for
// equal texts.
std::uint64_t wordAt(std::string_view text, std::size_t at) {
    std::uint64_t word = 0;
    const std::size_t left = text.size() - at;
    if (left >= 8) {
        std::memcpy(&word, text.data() + at, 8);
    } else if (text.size() >= 8) {
        std::memcpy(&word, text.data() + text.size() - 8, 8);
        const std::size_t consumed = 8 * (8 - left);
        word = std::endian::native == std::endian::little ? word >> consumed : word << consumed;
    } else {
        for (std::size_t k = text.size(); k-- > at;) {
            word = (word << 8) | static_cast<unsigned char>(text[k]);
        }
    }
    return word;
}

}  // namespace

bool equalFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t at = 0; at < a.size(); at += 8) {
        if (foldWord(wordAt(a, at)) != foldWord(wordAt(b, at))) {
            return false;
        }
    }
    return true;
}

std::uint32_t foldedHash(std::string_view name) {
    std::uint64_t hash = name.size();
    for (std::size_t at = 0; at < name.size(); at += 8) {
        hash = (hash ^ foldWord(wordAt(name, at))) * 0x9E3779B97F4A7C15u;
        hash ^= hash >> 29;
    }
    // Mix every bit into the low ones, which pick the slot.
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDu;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53u;
    hash ^= hash >> 33;
    return static_cast<std::uint32_t>(hash);
}

std::optional<std::size_t> findName(const NameList& names, std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (equalFolded(names[i], name)) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace zoltas
