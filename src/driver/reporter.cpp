#include "driver/reporter.h"

#include <array>
#include <charconv>

namespace zoltas {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

std::string hex(std::uint32_t value) {
    std::array<char, 8> digits{};
    auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value, 16);
    (void)ec;
    return std::string(digits.data(), end);
}

}  // namespace

std::string formatValue(std::int32_t value, char fill) {
    std::string digits = hex(static_cast<std::uint32_t>(value));
    std::string text = "$";
    if (digits.size() < 4) {
        text.append(4 - digits.size(), fill);
    }
    text += digits;
    text += " [";
    text += std::to_string(value);
    text += ']';
    return text;
}

std::string hex4(std::uint16_t value) {
    return {kHexDigits[(value >> 12) & 0xF], kHexDigits[(value >> 8) & 0xF],
            kHexDigits[(value >> 4) & 0xF], kHexDigits[value & 0xF]};
}

std::string lineTagged(std::int64_t lineNumber, std::string_view text) {
    std::string tagged = "L";
    tagged += std::to_string(lineNumber);
    tagged += '\t';
    tagged += text;
    return tagged;
}

std::string joined(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (const std::string_view part : parts) {
        size += part.size();
    }
    std::string text;
    text.reserve(size);
    for (const std::string_view part : parts) {
        text += part;
    }
    return text;
}

std::string noSuchFileText(std::string_view name) {
    std::string text = "Load error: No such file \"";
    text += name;
    text += "\" exists!";
    return text;
}

// Log write errors are not reported: the log is a record, never the product.
void Reporter::closeLog() {
    if (log_) {
        (void)log_->close();
        log_.reset();
    }
}

void Reporter::consoleLine(std::string_view text) {
    console_ << text << '\n' << std::flush;
}

void Reporter::writeLogLine(std::string_view text) {
    *log_ << text << '\n' << std::flush;
}

void Reporter::writeListingPrefix(std::uint16_t address, std::int64_t lineNumber) {
    *log_ << 'A' << hex4(address) << " L" << lineNumber << '\t';
}

}  // namespace zoltas
