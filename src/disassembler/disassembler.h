// zoltdis: turns a memory image back into a Zolt source that zoltas assembles into exactly that
// image again.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "driver/file_system.h"
#include "output/image_files.h"

namespace zoltas {

// The source for `image`, or nothing when no source can make zoltas write exactly this image;
// `whyNot` then says why. `origin` names the files the image came from, for the heading.
[[nodiscard]] std::optional<std::string> disassemble(const MemoryImage& image,
                                                     const std::string& origin, bool crom,
                                                     std::string& whyNot);

// The command line of zoltdis: the source goes to `out`, errors to `errors`. Returns the exit
// status, 0 or 1.
[[nodiscard]] int runDisassembler(int argc, const char* const* argv, std::ostream& out,
                                  std::ostream& errors, FileSystem& files);

}  // namespace zoltas
