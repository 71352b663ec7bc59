#include "output/image_writer.h"

#include "output/file_guard.h"

#include <array>
#include <cstring>

namespace zoltas {

namespace {

// Two lower-case hexadecimal digits for every byte value.
constexpr auto kHexPairs = [] {
    constexpr char kDigits[] = "0123456789abcdef";
    std::array<char, 512> pairs{};
    for (int byte = 0; byte < 256; ++byte) {
        pairs[2 * byte] = kDigits[byte >> 4];
        pairs[2 * byte + 1] = kDigits[byte & 0xF];
    }
    return pairs;
}();

// Four digits at `out`, the same text as hex4.
void putHex4(char* out, std::uint16_t value) {
    std::memcpy(out, &kHexPairs[2 * (value >> 8)], 2);
    std::memcpy(out + 2, &kHexPairs[2 * (value & 0xFF)], 2);
}

// The line loop keeps the highest address at or above the start, so the count is at least 1.
// It is wider than 16 bits, so a range that ends at 0xFFFF stops there instead of wrapping to 0.
std::uint32_t wordCount(std::uint16_t first, std::uint16_t last) {
    return last < first ? 0 : static_cast<std::uint32_t>(last) - first + 1;
}

// Console: Write error: Couldn't create file "<name>"!
void reportCreateFailure(Reporter& reporter, const std::string& name) {
    reporter.consoleLine("Write error: Couldn't create file \"" + name + "\"!");
}

// Closes a file that has been written. A full disk or a failing device must not pass for a
// written image. Console: Write error: Couldn't write file "<name>"!
// Log: "Error: Specified output file could not be written".
bool closeWritten(OutputFile& out, const std::string& name, Reporter& reporter) {
    const bool closed = out.close();
    if (!closed) {
        reporter.consoleLine("Write error: Couldn't write file \"" + name + "\"!");
        reporter.logLine("Error: Specified output file could not be written");
        return false;
    }
    return true;
}

}  // namespace

bool writeCromFile(const WordImage& image, std::uint16_t first, std::uint16_t last,
                   const std::string& name, std::span<const KeptFile> kept, Reporter& reporter,
                   FileSystem& files) {
    // Text mode: the line ends are the platform's.
    OpenedOutputs opened = openOutputFiles(files, {&name, 1}, FileMode::text, kept, reporter);
    if (opened.refused) {
        return false;
    }
    const auto& out = opened.files[0];
    if (!out || !out->discardContents()) {
        reportCreateFailure(reporter, name);
        reporter.logLine("Error: Specified output file could not be created");
        return false;
    }
    // Lines of "Mhhhh=hhhh\n" are formatted into a block that is written whenever it is full.
    constexpr std::size_t kLineLength = 11;
    constexpr std::size_t kLinesPerBlock = 4096;
    std::array<char, kLineLength * kLinesPerBlock> block;
    std::size_t used = 0;
    const std::uint32_t count = wordCount(first, last);
    for (std::uint32_t k = 0; k < count; ++k) {
        const auto address = static_cast<std::uint16_t>(first + k);
        char* line = block.data() + used;
        line[0] = 'M';
        putHex4(line + 1, address);
        line[5] = '=';
        putHex4(line + 6, image[address]);
        line[10] = '\n';
        used += kLineLength;
        if (used == block.size() || k + 1 == count) {
            out->write(block.data(), static_cast<std::streamsize>(used));
            used = 0;
        }
    }
    return closeWritten(*out, name, reporter);
}

bool writeBinFiles(const WordImage& image, std::uint16_t first, std::uint16_t last,
                   const std::string& name, std::span<const KeptFile> kept, Reporter& reporter,
                   FileSystem& files) {
    const std::string highName = "HI_" + name;
    const std::string lowName = "LO_" + name;
    const std::string names[] = {highName, lowName};
    OpenedOutputs opened = openOutputFiles(files, names, FileMode::binary, kept, reporter);
    if (opened.refused) {
        return false;
    }
    const auto& high = opened.files[0];
    const auto& low = opened.files[1];
    // Both opens are tried before either is tested, so a pair that fails half-way leaves the
    // opened one behind empty, and both names are reported.
    const bool highEmptied = high && high->discardContents();
    const bool lowEmptied = low && low->discardContents();
    if (!highEmptied || !lowEmptied) {
        reportCreateFailure(reporter, highName);
        reportCreateFailure(reporter, lowName);
        reporter.logLine("Error: Specified output files could not be created");
        return false;
    }
    const std::uint32_t count = wordCount(first, last);
    std::string highBytes(count, '\0');
    std::string lowBytes(count, '\0');
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint16_t word = image[static_cast<std::uint16_t>(first + k)];
        highBytes[k] = static_cast<char>(word >> 8);
        lowBytes[k] = static_cast<char>(word & 0xFF);
    }
    high->write(highBytes.data(), static_cast<std::streamsize>(highBytes.size()));
    const bool highWritten = closeWritten(*high, highName, reporter);
    low->write(lowBytes.data(), static_cast<std::streamsize>(lowBytes.size()));
    const bool lowWritten = closeWritten(*low, lowName, reporter);
    return highWritten && lowWritten;
}

bool writeImage(const AssemblyState& state, std::span<const KeptFile> kept, Reporter& reporter,
                FileSystem& files) {
    reporter.consoleLine("Starting parse part 4 of 4...");
    reporter.logLine("Pass 4/4");
    // The one console line that pads the value with zeros.
    reporter.consoleLine("Done assembling at address " + formatValue(state.address, '0') +
                         "\nAssembled file was " + std::to_string(state.lineNumber) + " lines");
    reporter.consoleLine("Defragmenting and writing binary");
    const std::uint32_t count = wordCount(state.startAddress, state.highestAddress);
    reporter.logLine([&] { return "Writing file of size " + std::to_string(count) + " words"; });
    if (state.outputFormat == OutputFormat::crom) {
        return writeCromFile(state.image, state.startAddress, state.highestAddress,
                             state.outputName, kept, reporter, files);
    }
    return writeBinFiles(state.image, state.startAddress, state.highestAddress, state.outputName,
                         kept, reporter, files);
}

}  // namespace zoltas
