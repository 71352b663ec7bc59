// Pass 4: writes the image from the start address up to and including the highest address.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "driver/file_system.h"
#include "driver/reporter.h"
#include "output/file_guard.h"
#include "source/assembly_state.h"

namespace zoltas {

// `kept` are the open files that no output may be: the source and the log.
[[nodiscard]] bool writeImage(const AssemblyState& state, std::span<const KeptFile> kept,
                              Reporter& reporter, FileSystem& files);

// One text line "M" + hex4(address) + "=" + hex4(word) per word, with the platform's line end.
[[nodiscard]] bool writeCromFile(const WordImage& image, std::uint16_t first, std::uint16_t last,
                                 const std::string& name, std::span<const KeptFile> kept,
                                 Reporter& reporter, FileSystem& files);

// "HI_" + name gets the high byte of every word and "LO_" + name the low byte, nothing else.
[[nodiscard]] bool writeBinFiles(const WordImage& image, std::uint16_t first, std::uint16_t last,
                                 const std::string& name, std::span<const KeptFile> kept,
                                 Reporter& reporter, FileSystem& files);

}  // namespace zoltas
