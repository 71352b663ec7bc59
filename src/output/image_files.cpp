#include "output/image_files.h"

#include <array>
#include <charconv>
#include <string_view>

#include "driver/reporter.h"

namespace zoltas {

namespace {

// A CROM line is "M", four digits, "=", four digits: ten bytes, eleven with a carriage return.
constexpr std::size_t kCromLineLength = 10;

// One byte of a BIN half per word, and memory holds this many words.
constexpr std::size_t kMemoryWords = 0x10000;

// A quoted excerpt of a line shows at most this many of its bytes.
constexpr std::size_t kExcerptLength = 12;

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

// The bytes as they can be shown inside double quotes on a terminal: printable ASCII as it is,
// a quote and a backslash behind a backslash, every other byte as \xhh; "..." when the line
// goes on beyond them.
std::string escapedExcerpt(std::string_view bytes, bool more) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const char c : bytes.substr(0, kExcerptLength)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            text += c;
        } else {
            text += "\\x";
            text += kDigits[byte >> 4];
            text += kDigits[byte & 0xF];
        }
    }
    if (more || bytes.size() > kExcerptLength) {
        text += "...";
    }
    return text;
}

// At most `limit` bytes of the file: no image needs more, however long the file is.
std::optional<std::string> readAtMost(FileSystem& files, const std::string& name, std::size_t limit,
                                      std::ostream& errors) {
    const auto file = openInputFile(files, name, errors);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    std::array<char, 1 << 14> buffer;
    try {
        const ThrowingReads throwing(*file);
        while (bytes.size() < limit) {
            const std::size_t want = std::min(buffer.size(), limit - bytes.size());
            file->read(buffer.data(), static_cast<std::streamsize>(want));
            const auto got = static_cast<std::size_t>(file->gcount());
            bytes.append(buffer.data(), got);
            if (got < want) {
                break;
            }
        }
    } catch (const std::ios_base::failure&) {
        errors << cannotBeReadText(name) << '\n';
        return std::nullopt;
    }
    return bytes;
}

std::optional<MemoryImage> readCromLines(std::istream& file, std::ostream& errors,
                                         const std::string& name);

// Reads one line of a CROM file, keeping no more of it than a valid line could be, plus one
// byte to tell that it is longer. A carriage return before the line feed is dropped.
class CromLineReader {
  public:
    explicit CromLineReader(std::istream& file) : file_(file) {}

    // False at the end of the file; a read error throws (ThrowingReads).
    bool next() {
        line_.clear();
        longer_ = false;
        for (;;) {
            const int c = file_.get();
            if (c == std::char_traits<char>::eof()) {
                return !line_.empty();
            }
            if (c == '\n') {
                if (!line_.empty() && line_.back() == '\r' && line_.size() <= kCromLineLength + 1) {
                    line_.pop_back();
                }
                return true;
            }
            if (line_.size() > kCromLineLength + 1) {
                // Far longer than a CROM line: the rest is never read.
                longer_ = true;
                return true;
            }
            line_ += static_cast<char>(c);
        }
    }

    [[nodiscard]] std::string_view line() const { return line_; }
    // The line went on beyond the bytes kept.
    [[nodiscard]] bool longer() const { return longer_; }
    [[nodiscard]] bool atEnd() { return file_.peek() == std::char_traits<char>::eof(); }

  private:
    std::istream& file_;
    std::string line_;
    bool longer_ = false;
};

bool isCromLine(std::string_view line) {
    const auto isHex = [](std::string_view digits) {
        return digits.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
    };
    return line.size() == kCromLineLength && line[0] == 'M' && line[5] == '=' &&
           isHex(line.substr(1, 4)) && isHex(line.substr(6, 4));
}

}  // namespace

std::string cannotBeReadText(const std::string& name) {
    return "Load error: \"" + name + "\" cannot be read";
}

std::unique_ptr<InputFile> openInputFile(FileSystem& files, const std::string& name,
                                         std::ostream& errors) {
    auto file = files.openForReading(name);
    if (!file) {
        errors << (files.exists(name) ? cannotBeReadText(name) : noSuchFileText(name)) << '\n';
    }
    return file;
}

std::optional<MemoryImage> readCromImage(std::istream& file, const std::string& name,
                                         std::ostream& errors) {
    try {
        const ThrowingReads throwing(file);
        return readCromLines(file, errors, name);
    } catch (const std::ios_base::failure&) {
        errors << cannotBeReadText(name) << '\n';
        return std::nullopt;
    }
}

namespace {

std::optional<MemoryImage> readCromLines(std::istream& file, std::ostream& errors,
                                         const std::string& name) {
    MemoryImage image;
    CromLineReader reader(file);
    std::int64_t lineNumber = 0;
    while (reader.next()) {
        ++lineNumber;
        const std::string_view line = reader.line();
        // An editor may leave an empty line at the end; anything after it is not a CROM file.
        if (line.empty() && !reader.longer() && reader.atEnd()) {
            break;
        }
        if (reader.longer() || !isCromLine(line)) {
            errors << lineTagged(lineNumber, "ERROR: Invalid CROM line \"" +
                                                 escapedExcerpt(line, reader.longer()) + "\"")
                   << '\n';
            return std::nullopt;
        }
        const std::uint16_t address = parseHex4(line.substr(1, 4));
        const std::uint16_t word = parseHex4(line.substr(6, 4));
        // Also ends the file at the line after $ffff, or after 65,536 words.
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
    if (image.words.empty()) {
        errors << emptyText(name) << '\n';
        return std::nullopt;
    }
    return image;
}

}  // namespace

std::optional<MemoryImage> readCromFile(FileSystem& files, const std::string& name,
                                        std::ostream& errors) {
    const auto file = openInputFile(files, name, errors);
    if (!file) {
        return std::nullopt;
    }
    return readCromImage(*file, name, errors);
}

std::optional<MemoryImage> readBinPair(FileSystem& files, const std::string& highName,
                                       const std::string& lowName, std::uint16_t start,
                                       std::ostream& errors) {
    // One byte more than memory holds tells a half that is too long, without reading the rest.
    const auto high = readAtMost(files, highName, kMemoryWords + 1, errors);
    const auto low = high ? readAtMost(files, lowName, kMemoryWords + 1, errors) : std::nullopt;
    if (!high || !low) {
        return std::nullopt;
    }
    for (const auto& [half, name] : {std::pair{&*high, &highName}, std::pair{&*low, &lowName}}) {
        if (half->size() > kMemoryWords) {
            errors << "Load error: \"" << *name
                   << "\" has more than 65536 bytes, one for each word of memory\n";
            return std::nullopt;
        }
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
    if (start + high->size() > kMemoryWords) {
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
