#include "tools/export/formats.h"

#include <algorithm>
#include <vector>

namespace zoltas {

namespace {

constexpr std::uint32_t kMemoryWords = 0x10000;

// Logisim writes a run from four equal values on, and so do the other run forms here: shorter
// runs would save nothing a reader notices.
constexpr std::size_t kShortestRun = 4;

constexpr std::size_t kWordsPerLine = 8;

// Records of 16 data bytes, the length programmers and srec_cat's readers all take.
constexpr std::size_t kRecordBytes = 16;

void appendHex(std::string& out, std::uint32_t value, int digits, bool upper = false) {
    const char* const symbols = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += symbols[(value >> shift) & 0xF];
    }
}

std::string hexText(std::uint32_t value, int digits) {
    std::string text;
    appendHex(text, value, digits);
    return text;
}

std::uint8_t highByte(std::uint16_t word) {
    return static_cast<std::uint8_t>(word >> 8);
}
std::uint8_t lowByte(std::uint16_t word) {
    return static_cast<std::uint8_t>(word & 0xFF);
}

// The word the output shows at `address`: the image's, or 0 where the image is not.
std::uint16_t wordAt(const MemoryImage& image, const Placement& placement, std::uint32_t address) {
    if (address < placement.base || address - placement.base >= image.words.size()) {
        return 0;
    }
    return image.words[address - placement.base];
}

// The bytes of a byte-addressed format, from byte address `address` on: one per word for a
// chip, or each word big-endian.
struct ByteStream {
    std::vector<std::uint8_t> bytes;
    std::uint32_t address = 0;
};

ByteStream byteStream(const MemoryImage& image, const Placement& placement) {
    ByteStream stream;
    const Chip chip = placement.request.chip;
    stream.address = chip == Chip::words ? 2 * placement.base : placement.base;
    for (const std::uint16_t word : image.words) {
        if (chip != Chip::low) {
            stream.bytes.push_back(highByte(word));
        }
        if (chip != Chip::high) {
            stream.bytes.push_back(lowByte(word));
        }
    }
    return stream;
}

// Calls emit(first, last, value) for each stretch of equal words from address `from` to `to`,
// a stretch being one word unless kShortestRun or more are equal.
template <typename Emit>
void forEachRun(const MemoryImage& image, const Placement& placement, std::uint32_t from,
                std::uint32_t to, Emit emit) {
    std::uint32_t address = from;
    while (address < to) {
        const std::uint16_t value = wordAt(image, placement, address);
        std::uint32_t end = address + 1;
        while (end < to && wordAt(image, placement, end) == value) {
            ++end;
        }
        if (end - address < kShortestRun) {
            end = address + 1;
        }
        emit(address, end - 1, value);
        address = end;
    }
}

// ":" count, address, type, data, checksum: the two's complement of the sum of every byte
// before it.
void appendIntelRecord(std::string& out, std::uint8_t type, std::uint16_t address,
                       const std::uint8_t* data, std::size_t count) {
    unsigned sum = static_cast<unsigned>(count) + (address >> 8) + (address & 0xFF) + type;
    out += ':';
    appendHex(out, static_cast<std::uint32_t>(count), 2, true);
    appendHex(out, address, 4, true);
    appendHex(out, type, 2, true);
    for (std::size_t k = 0; k < count; ++k) {
        appendHex(out, data[k], 2, true);
        sum += data[k];
    }
    appendHex(out, (0x100 - (sum & 0xFF)) & 0xFF, 2, true);
    out += '\n';
}

constexpr std::uint8_t kIntelData = 0x00;
constexpr std::uint8_t kIntelEndOfFile = 0x01;
constexpr std::uint8_t kIntelExtendedLinearAddress = 0x04;

// "S", the type, the count of the bytes after it, the address, data, and the checksum: the
// one's complement of the low byte of the sum of the count, address and data bytes.
void appendSRecord(std::string& out, char type, std::uint32_t address, int addressBytes,
                   const std::uint8_t* data, std::size_t count) {
    const std::size_t length = static_cast<std::size_t>(addressBytes) + count + 1;
    unsigned sum = static_cast<unsigned>(length);
    out += 'S';
    out += type;
    appendHex(out, static_cast<std::uint32_t>(length), 2, true);
    appendHex(out, address, 2 * addressBytes, true);
    for (int k = addressBytes - 1; k >= 0; --k) {
        sum += (address >> (8 * k)) & 0xFF;
    }
    for (std::size_t k = 0; k < count; ++k) {
        appendHex(out, data[k], 2, true);
        sum += data[k];
    }
    appendHex(out, ~sum & 0xFF, 2, true);
    out += '\n';
}

// Words separated by one blank, kWordsPerLine to a line, each line after `prefix(address)`.
template <typename Prefix>
void appendWordLines(std::string& out, const MemoryImage& image, std::uint32_t base,
                     Prefix prefix) {
    for (std::size_t k = 0; k < image.words.size(); ++k) {
        if (k % kWordsPerLine == 0) {
            prefix(base + static_cast<std::uint32_t>(k));
        } else {
            out += ' ';
        }
        appendHex(out, image.words[k], 4);
        if (k % kWordsPerLine == kWordsPerLine - 1 || k + 1 == image.words.size()) {
            out += '\n';
        }
    }
}

}  // namespace

std::optional<Placement> placeImage(const MemoryImage& image, const ExportRequest& request,
                                    std::string& whyNot) {
    Placement placement;
    placement.request = request;
    const auto count = static_cast<std::uint32_t>(image.words.size());
    const bool bin = request.format == ExportFormat::bin;
    const std::uint32_t bytesPerWord = bin && request.chip == Chip::words ? 2 : 1;
    if (bin && request.sizeBytes) {
        const std::uint32_t size = *request.sizeBytes;
        if (size % bytesPerWord != 0) {
            whyNot = "Error: a chip of " + std::to_string(size) +
                     " bytes cannot hold whole 16-bit words";
            return std::nullopt;
        }
        const std::uint32_t chipWords = size / bytesPerWord;
        placement.base = request.offset.value_or(image.start % chipWords);
        if (placement.base + count > chipWords) {
            whyNot = "Error: " + std::to_string(count) + " words at $" +
                     hexText(placement.base, 4) + " do not fit in a chip of " +
                     std::to_string(size) + " bytes";
            return std::nullopt;
        }
        placement.fileBytes = size;
        return placement;
    }
    placement.base = request.offset.value_or(image.start);
    if (placement.base + count > kMemoryWords) {
        whyNot = "Error: the image ends past $ffff at offset $" + hexText(placement.base, 4);
        return std::nullopt;
    }
    placement.fileBytes = (placement.base + count) * bytesPerWord;
    placement.depth = request.depth.value_or(placement.base + count);
    if (placement.depth < placement.base + count) {
        whyNot = "Error: --depth " + std::to_string(placement.depth) + " is less than the " +
                 std::to_string(placement.base + count) + " words the image needs from address 0";
        return std::nullopt;
    }
    return placement;
}

std::string exportBytes(const MemoryImage& image, const Placement& placement) {
    switch (placement.request.format) {
        case ExportFormat::bin:
            return writeBin(image, placement);
        case ExportFormat::ihex:
            return writeIntelHex(image, placement);
        case ExportFormat::ihexWords:
            return writeIntelHexWords(image, placement);
        case ExportFormat::srec:
            return writeSRecords(image, placement);
        case ExportFormat::logisim:
            return writeLogisimRaw(image, placement);
        case ExportFormat::logisim3:
            return writeLogisimAddressed(image, placement);
        case ExportFormat::readmemh:
            return writeReadmemh(image, placement);
        case ExportFormat::mif:
            return writeMif(image, placement);
        case ExportFormat::coe:
            return writeCoe(image, placement);
    }
    return {};
}

// The chip's bytes, or the words back to back in the chosen byte order; the rest of the file is
// the fill byte.
std::string writeBin(const MemoryImage& image, const Placement& placement) {
    const ExportRequest& request = placement.request;
    std::string out(placement.fileBytes, static_cast<char>(request.fill));
    for (std::size_t k = 0; k < image.words.size(); ++k) {
        const std::uint16_t word = image.words[k];
        const std::size_t address = placement.base + k;
        if (request.chip == Chip::high) {
            out[address] = static_cast<char>(highByte(word));
        } else if (request.chip == Chip::low) {
            out[address] = static_cast<char>(lowByte(word));
        } else {
            const bool big = request.endian == Endian::big;
            out[2 * address] = static_cast<char>(big ? highByte(word) : lowByte(word));
            out[2 * address + 1] = static_cast<char>(big ? lowByte(word) : highByte(word));
        }
    }
    return out;
}

//   :0600000000010002000FE8     three words 0x0001 0x0002 0x000f at byte address 0
//   :00000001FF
// Past 64 KiB an extended linear address record (type 04) gives the upper 16 bits of the
// address; no data record crosses a 64 KiB boundary.
std::string writeIntelHex(const MemoryImage& image, const Placement& placement) {
    const ByteStream stream = byteStream(image, placement);
    std::string out;
    std::uint32_t upper = 0;
    std::size_t done = 0;
    while (done < stream.bytes.size()) {
        const std::uint32_t address = stream.address + static_cast<std::uint32_t>(done);
        if (address >> 16 != upper) {
            upper = address >> 16;
            const std::uint8_t base[] = {static_cast<std::uint8_t>(upper >> 8),
                                         static_cast<std::uint8_t>(upper & 0xFF)};
            appendIntelRecord(out, kIntelExtendedLinearAddress, 0, base, 2);
        }
        const std::size_t count = std::min<std::size_t>(
            {kRecordBytes, stream.bytes.size() - done, 0x10000 - (address & 0xFFFF)});
        appendIntelRecord(out, kIntelData, static_cast<std::uint16_t>(address & 0xFFFF),
                          stream.bytes.data() + done, count);
        done += count;
    }
    appendIntelRecord(out, kIntelEndOfFile, 0, nullptr, 0);
    return out;
}

// Each address one 16-bit word, one word to a record, the count in bytes, as Quartus writes
// them for a 16-bit memory:
//   :020000000001FD     0x0001 at word address 0
//   :020001000002FB
std::string writeIntelHexWords(const MemoryImage& image, const Placement& placement) {
    std::string out;
    for (std::size_t k = 0; k < image.words.size(); ++k) {
        const std::uint8_t data[] = {highByte(image.words[k]), lowByte(image.words[k])};
        appendIntelRecord(out, kIntelData, static_cast<std::uint16_t>(placement.base + k), data, 2);
    }
    appendIntelRecord(out, kIntelEndOfFile, 0, nullptr, 0);
    return out;
}

//   S0030000FC                  an empty header
//   S109000000010002000FE4      bytes at a 16-bit address (S2: 24-bit, past 64 KiB)
//   S9030000FC                  the end (S8 after S2 records)
std::string writeSRecords(const MemoryImage& image, const Placement& placement) {
    const ByteStream stream = byteStream(image, placement);
    const bool wide = stream.address + stream.bytes.size() > 0x10000;
    const int addressBytes = wide ? 3 : 2;
    std::string out;
    appendSRecord(out, '0', 0, 2, nullptr, 0);
    for (std::size_t done = 0; done < stream.bytes.size(); done += kRecordBytes) {
        const std::size_t count = std::min(kRecordBytes, stream.bytes.size() - done);
        appendSRecord(out, wide ? '2' : '1', stream.address + static_cast<std::uint32_t>(done),
                      addressBytes, stream.bytes.data() + done, count);
    }
    appendSRecord(out, wide ? '8' : '9', 0, addressBytes, nullptr, 0);
    return out;
}

// From address 0, since the format has no addresses; a run is "count*value", the count in
// decimal:
//   v2.0 raw
//   0001 0002 000f
std::string writeLogisimRaw(const MemoryImage& image, const Placement& placement) {
    std::string out = "v2.0 raw\n";
    std::size_t onLine = 0;
    const auto end = placement.base + static_cast<std::uint32_t>(image.words.size());
    forEachRun(image, placement, 0, end, [&](std::uint32_t first, std::uint32_t last, auto value) {
        out += onLine == 0 ? "" : " ";
        if (last > first) {
            out += std::to_string(last - first + 1) + '*';
        }
        appendHex(out, value, 4);
        if (++onLine == kWordsPerLine) {
            out += '\n';
            onLine = 0;
        }
    });
    if (onLine != 0) {
        out += '\n';
    }
    return out;
}

// Each line the word address of its first word, ": ", and the words, one blank apart (two
// blanks would end the line for Logisim-evolution's reader):
//   v3.0 hex words addressed
//   0000: 0001 0002 000f
std::string writeLogisimAddressed(const MemoryImage& image, const Placement& placement) {
    std::string out = "v3.0 hex words addressed\n";
    appendWordLines(out, image, placement.base, [&](std::uint32_t address) {
        appendHex(out, address, 4);
        out += ": ";
    });
    return out;
}

//   @0000
//   0001 0002 000f
std::string writeReadmemh(const MemoryImage& image, const Placement& placement) {
    std::string out = "@";
    appendHex(out, placement.base, 4);
    out += '\n';
    appendWordLines(out, image, placement.base, [](std::uint32_t) {});
    return out;
}

// Every address of the memory, from 0 to DEPTH - 1; words outside the image are 0:
//   DEPTH = 3;  WIDTH = 16;  ADDRESS_RADIX = HEX;  DATA_RADIX = HEX;  (one to a line)
//   CONTENT
//   BEGIN
//   0000 : 0001;
//   [0003..0006] : 0000;          a run
//   END;
std::string writeMif(const MemoryImage& image, const Placement& placement) {
    std::string out = "DEPTH = " + std::to_string(placement.depth) +
                      ";\nWIDTH = 16;\nADDRESS_RADIX = HEX;\nDATA_RADIX = HEX;\nCONTENT\nBEGIN\n";
    forEachRun(image, placement, 0, placement.depth,
               [&](std::uint32_t first, std::uint32_t last, std::uint16_t value) {
                   if (last > first) {
                       out += '[';
                       appendHex(out, first, 4);
                       out += "..";
                       appendHex(out, last, 4);
                       out += ']';
                   } else {
                       appendHex(out, first, 4);
                   }
                   out += " : ";
                   appendHex(out, value, 4);
                   out += ";\n";
               });
    out += "END;\n";
    return out;
}

// Every word from address 0 to the depth, comma-separated, the last ended by ";":
//   memory_initialization_radix=16;
//   memory_initialization_vector=
//   0001, 0002, 000f;
std::string writeCoe(const MemoryImage& image, const Placement& placement) {
    std::string out = "memory_initialization_radix=16;\nmemory_initialization_vector=\n";
    for (std::uint32_t address = 0; address < placement.depth; ++address) {
        appendHex(out, wordAt(image, placement, address), 4);
        if (address + 1 == placement.depth) {
            out += ";\n";
        } else {
            out += address % kWordsPerLine == kWordsPerLine - 1 ? ",\n" : ", ";
        }
    }
    return out;
}

}  // namespace zoltas
