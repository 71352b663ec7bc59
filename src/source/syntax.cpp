#include "source/syntax.h"

#include <random>

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
    return readNumberPrefix(text).value;
}

NumberReading readNumberPrefix(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const std::string_view whole = text;
    int base = 10;
    if (text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text[0] == '%') {
        base = 2;
        text.remove_prefix(1);
    }
    const std::size_t prefix = whole.size() - text.size();

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
        return {};
    }
    NumberReading reading;
    reading.digitsEnd = prefix + i;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value >= INT32_MIN && value <= INT32_MAX) {
        reading.value = static_cast<std::int32_t>(value);
    }
    return reading;
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

bool equalFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

HashKey randomHashKey() {
    std::random_device source;
    const auto draw = [&] {
        return (static_cast<std::uint64_t>(source()) << 32) ^ static_cast<std::uint64_t>(source());
    };
    return {draw(), draw()};
}

namespace {

constexpr std::uint64_t rotate(std::uint64_t x, int bits) {
    return (x << bits) | (x >> (64 - bits));
}

struct SipState {
    std::uint64_t v0, v1, v2, v3;

    void round() {
        v0 += v1;
        v1 = rotate(v1, 13) ^ v0;
        v0 = rotate(v0, 32);
        v2 += v3;
        v3 = rotate(v3, 16) ^ v2;
        v0 += v3;
        v3 = rotate(v3, 21) ^ v0;
        v2 += v1;
        v1 = rotate(v1, 17) ^ v2;
        v2 = rotate(v2, 32);
    }
    void absorb(std::uint64_t word) {
        v3 ^= word;
        round();
        v0 ^= word;
    }
};

}  // namespace

std::uint64_t foldedHash(std::string_view name, const HashKey& key) {
    SipState state{key.k0 ^ 0x736f6d6570736575u, key.k1 ^ 0x646f72616e646f6du,
                   key.k0 ^ 0x6c7967656e657261u, key.k1 ^ 0x7465646279746573u};
    // Eight folded bytes to a word, the first in the lowest bits, whatever the machine's order.
    const auto word = [&](std::size_t at, std::size_t count) {
        std::uint64_t w = 0;
        for (std::size_t k = 0; k < count; ++k) {
            w |= static_cast<std::uint64_t>(static_cast<unsigned char>(foldAscii(name[at + k])))
                 << (8 * k);
        }
        return w;
    };
    std::size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        state.absorb(word(at, 8));
    }
    state.absorb(word(at, name.size() - at) | (static_cast<std::uint64_t>(name.size()) << 56));
    state.v2 ^= 0xFF;
    state.round();
    state.round();
    state.round();
    return state.v0 ^ state.v1 ^ state.v2 ^ state.v3;
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
