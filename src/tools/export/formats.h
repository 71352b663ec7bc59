// The image in the file formats of EEPROM programmers, logic simulators and FPGA tools. Each
// writer turns a placed image into the file's bytes and nothing else: where the image goes and
// whether it fits is decided before (placeImage), so every writer is a plain loop over words.
// Text formats end their lines with a line feed on every platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "output/image_files.h"

namespace zoltas {

enum class ExportFormat { bin, ihex, ihexWords, srec, logisim, logisim3, readmemh, mif, coe };

// Each format by its name on the command line.
struct ExportFormatName {
    std::string_view name;
    ExportFormat format;
};
inline constexpr ExportFormatName kExportFormatNames[] = {
    {"bin", ExportFormat::bin},
    {"ihex", ExportFormat::ihex},
    {"ihex-words", ExportFormat::ihexWords},
    {"srec", ExportFormat::srec},
    {"logisim", ExportFormat::logisim},
    {"logisim3", ExportFormat::logisim3},
    {"readmemh", ExportFormat::readmemh},
    {"mif", ExportFormat::mif},
    {"coe", ExportFormat::coe},
};

// One 8-bit half of every word (the high byte goes to one EEPROM, the low byte to the other), or
// both halves as one 16-bit word.
enum class Chip { words, high, low };
enum class Endian { big, little };

// What the user asked for, numbers already read.
struct ExportRequest {
    ExportFormat format = ExportFormat::bin;
    Chip chip = Chip::words;
    Endian endian = Endian::big;
    std::optional<std::uint32_t> offset{};  // the address of the image's first word in the output
    std::optional<std::uint32_t> sizeBytes{};  // bin: the chip's size
    std::uint8_t fill = 0xFF;                  // bin: the byte of the chip beyond the image
    std::optional<std::uint32_t> depth{};      // mif, coe: the memory's size in words
};

// Where the output puts the image: its first word at address `base`. For bin, `fileBytes` is the
// length of the file; for mif and coe, `depth` is the number of words described from address 0.
struct Placement {
    ExportRequest request;
    std::uint32_t base = 0;
    std::uint32_t fileBytes = 0;
    std::uint32_t depth = 0;
};

// The image goes at its own start address unless an offset is given; in a bin file of a given
// size, at the start address modulo the chip's size, since the chip sees only the low address
// lines. Nothing, and `whyNot` set to the error line, when it does not fit:
//   Error: the image ends past $ffff at offset $hhhh
//   Error: <n> words at $hhhh do not fit in a chip of <size> bytes
//   Error: a chip of <size> bytes cannot hold whole 16-bit words
//   Error: --depth <d> is less than the <n> words the image needs from address 0
[[nodiscard]] std::optional<Placement> placeImage(const MemoryImage& image,
                                                  const ExportRequest& request,
                                                  std::string& whyNot);

// The whole output file, by the writer of the requested format.
[[nodiscard]] std::string exportBytes(const MemoryImage& image, const Placement& placement);

[[nodiscard]] std::string writeBin(const MemoryImage& image, const Placement& placement);
[[nodiscard]] std::string writeIntelHex(const MemoryImage& image, const Placement& placement);
[[nodiscard]] std::string writeIntelHexWords(const MemoryImage& image, const Placement& placement);
[[nodiscard]] std::string writeSRecords(const MemoryImage& image, const Placement& placement);
[[nodiscard]] std::string writeLogisimRaw(const MemoryImage& image, const Placement& placement);
[[nodiscard]] std::string writeLogisimAddressed(const MemoryImage& image,
                                                const Placement& placement);
[[nodiscard]] std::string writeReadmemh(const MemoryImage& image, const Placement& placement);
[[nodiscard]] std::string writeMif(const MemoryImage& image, const Placement& placement);
[[nodiscard]] std::string writeCoe(const MemoryImage& image, const Placement& placement);

}  // namespace zoltas
