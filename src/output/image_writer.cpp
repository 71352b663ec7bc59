#include "output/image_writer.h"

namespace zoltas {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// Words from `first` up to and including `last`. The count is wider than 16 bits, so a range
// that ends at 0xFFFF stops there instead of wrapping to 0.
// The line loop keeps the highest address at or above the start, so the count is at least 1.
std::uint32_t wordCount(std::uint16_t first, std::uint16_t last) {
    return last < first ? 0 : static_cast<std::uint32_t>(last) - first + 1;
}

void appendHex4(std::string& out, std::uint16_t value) {
    out += kHexDigits[(value >> 12) & 0xF];
    out += kHexDigits[(value >> 8) & 0xF];
    out += kHexDigits[(value >> 4) & 0xF];
    out += kHexDigits[value & 0xF];
}

// Console: Write error: Couldn't create file "<name>"!
void reportCreateFailure(Reporter& reporter, const std::string& name) {
    reporter.consoleLine("Write error: Couldn't create file \"" + name + "\"!");
}

// Writes the bytes and closes the file. A full disk or a failing device must not pass for a
// written image. Console: Write error: Couldn't write file "<name>"!
// Log: "Error: Specified output file could not be written".
bool writeAndClose(std::ostream& out, const std::string& bytes, const std::string& name,
                   Reporter& reporter, FileSystem& files) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const bool closed = files.close(out);
    if (out.fail() || !closed) {
        reporter.consoleLine("Write error: Couldn't write file \"" + name + "\"!");
        reporter.logLine("Error: Specified output file could not be written");
        return false;
    }
    return true;
}

// Writing the image over its own source would destroy the source, whatever name reaches it.
// Console: Write error: Won't overwrite the source file "<name>"!
// Log: "Error: Specified output file is the source file".
bool isSource(const std::string& name, const AssemblyState& state, Reporter& reporter,
              FileSystem& files) {
    if (!files.sameFile(name, state.inputName)) {
        return false;
    }
    reporter.consoleLine("Write error: Won't overwrite the source file \"" + name + "\"!");
    reporter.logLine("Error: Specified output file is the source file");
    return true;
}

}  // namespace

bool writeCromFile(const WordImage& image, std::uint16_t first, std::uint16_t last,
                   const std::string& name, Reporter& reporter, FileSystem& files) {
    // Text mode: the line ends are the platform's.
    const auto out = files.createForWriting(name, FileMode::text);
    if (!out) {
        reportCreateFailure(reporter, name);
        reporter.logLine("Error: Specified output file could not be created");
        return false;
    }
    const std::uint32_t count = wordCount(first, last);
    std::string text;
    text.reserve(count * 11);
    for (std::uint32_t k = 0; k < count; ++k) {
        const auto address = static_cast<std::uint16_t>(first + k);
        text += 'M';
        appendHex4(text, address);
        text += '=';
        appendHex4(text, image[address]);
        text += '\n';
    }
    return writeAndClose(*out, text, name, reporter, files);
}

bool writeBinFiles(const WordImage& image, std::uint16_t first, std::uint16_t last,
                   const std::string& name, Reporter& reporter, FileSystem& files) {
    const std::string highName = "HI_" + name;
    const std::string lowName = "LO_" + name;
    // Both opens are tried before either is tested, so a pair that fails half-way leaves the
    // opened one behind empty, and both names are reported.
    const auto high = files.createForWriting(highName, FileMode::binary);
    const auto low = files.createForWriting(lowName, FileMode::binary);
    if (!high || !low) {
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
    const bool highWritten = writeAndClose(*high, highBytes, highName, reporter, files);
    const bool lowWritten = writeAndClose(*low, lowBytes, lowName, reporter, files);
    return highWritten && lowWritten;
}

bool writeImage(const AssemblyState& state, Reporter& reporter, FileSystem& files) {
    reporter.consoleLine("Starting parse part 4 of 4...");
    reporter.logLine("Pass 4/4");
    // The one console line that pads the value with zeros.
    reporter.consoleLine("Done assembling at address " + formatValue(state.address, '0') +
                         "\nAssembled file was " + std::to_string(state.lineNumber) + " lines");
    reporter.consoleLine("Defragmenting and writing binary");
    const std::uint32_t count = wordCount(state.startAddress, state.highestAddress);
    reporter.logLine("Writing file of size " + std::to_string(count) + " words");
    if (state.outputFormat == OutputFormat::crom) {
        if (isSource(state.outputName, state, reporter, files)) {
            return false;
        }
        return writeCromFile(state.image, state.startAddress, state.highestAddress,
                             state.outputName, reporter, files);
    }
    // Neither file of the pair is opened, and so emptied, when either one is the source.
    if (isSource("HI_" + state.outputName, state, reporter, files) ||
        isSource("LO_" + state.outputName, state, reporter, files)) {
        return false;
    }
    return writeBinFiles(state.image, state.startAddress, state.highestAddress, state.outputName,
                         reporter, files);
}

}  // namespace zoltas
