#include "output/image_files.h"

#include <array>
#include <charconv>
#include <string_view>

#include "driver/reporter.h"
#include "source/line_reader.h"

namespace zoltas {

namespace {

std::string cannotBeReadText(const std::string& name) {
    return "Load error: \"" + name + "\" cannot be read";
}

std::string emptyText(const std::string& name) {
    return "Load error: \"" + name + "\" is empty";
}

std::string hexValue(std::uint16_t value) {
    std::string text = "$";
    text += hex4(value);
    return text;
}

// Four hexadecimal digits, already checked to be digits.
std::uint16_t parseHex4(std::string_view digits) {
    std::uint16_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    return value;
}

std::optional<std::string> readWhole(FileSystem& files, const std::string& name,
                                     std::ostream& errors) {
    const auto file = files.openForReading(name);
    if (!file) {
        errors << noSuchFileText(name) << '\n';
        return std::nullopt;
    }
    std::string bytes;
    std::array<char, 1 << 16> buffer;
    while (file->read(buffer.data(), buffer.size()) || file->gcount() > 0) {
        bytes.append(buffer.data(), static_cast<std::size_t>(file->gcount()));
    }
    if (file->bad()) {
        errors << cannotBeReadText(name) << '\n';
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<MemoryImage> readCromImage(std::istream& file, const std::string& name,
                                         std::ostream& errors) {
    MemoryImage image;
    LineReader reader(file);
    std::string_view line;
    std::int64_t lineNumber = 0;
    const auto isHex = [](std::string_view digits) {
        return digits.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
    };
    while (reader.next(line)) {
        ++lineNumber;
        if (line.size() != 10 || line[0] != 'M' || line[5] != '=' || !isHex(line.substr(1, 4)) ||
            !isHex(line.substr(6, 4))) {
            std::string text = "ERROR: Invalid CROM line \"";
            text += line;
            text += '"';
            errors << lineTagged(lineNumber, text) << '\n';
            return std::nullopt;
        }
        const std::uint16_t address = parseHex4(line.substr(1, 4));
        const std::uint16_t word = parseHex4(line.substr(6, 4));
        if (image.words.empty()) {
            image.start = address;
        } else if (address != image.start + image.words.size()) {
            errors << lineTagged(lineNumber, "ERROR: Address " + hexValue(address) +
                                                 " does not follow the one before")
                   << '\n';
            return std::nullopt;
        }
        image.words.push_back(word);
    }
    if (reader.failed()) {
        errors << cannotBeReadText(name) << '\n';
        return std::nullopt;
    }
    if (image.words.empty()) {
        errors << emptyText(name) << '\n';
        return std::nullopt;
    }
    return image;
}

std::optional<MemoryImage> readCromFile(FileSystem& files, const std::string& name,
                                        std::ostream& errors) {
    const auto file = files.openForReading(name);
    if (!file) {
        errors << noSuchFileText(name) << '\n';
        return std::nullopt;
    }
    return readCromImage(*file, name, errors);
}

std::optional<MemoryImage> readBinPair(FileSystem& files, const std::string& highName,
                                       const std::string& lowName, std::uint16_t start,
                                       std::ostream& errors) {
    const auto high = readWhole(files, highName, errors);
    const auto low = high ? readWhole(files, lowName, errors) : std::nullopt;
    if (!high || !low) {
        return std::nullopt;
    }
    if (high->size() != low->size()) {
        errors << "Load error: \"" << highName << "\" has " << high->size() << " bytes and \""
               << lowName << "\" " << low->size() << "; they must be the same length\n";
        return std::nullopt;
    }
    if (high->empty()) {
        errors << emptyText(highName) << '\n';
        return std::nullopt;
    }
    if (start + high->size() > 0x10000) {
        errors << "Error: " << high->size() << " words from " << hexValue(start)
               << " run past $ffff\n";
        return std::nullopt;
    }
    MemoryImage image;
    image.start = start;
    image.words.reserve(high->size());
    for (std::size_t k = 0; k < high->size(); ++k) {
        image.words.push_back(static_cast<std::uint16_t>(
            (static_cast<unsigned char>((*high)[k]) << 8) | static_cast<unsigned char>((*low)[k])));
    }
    return image;
}

}  // namespace zoltas
