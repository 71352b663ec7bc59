// zoltdis: turns a memory image back into a Zolt source that zoltas assembles into exactly that
// image again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "disassembler/annotations.h"
#include "output/image_files.h"

namespace zoltas {

struct DisassemblyOptions {
    // Labels, gaps, strings, data after the end of code and blank lines; without it, one line
    // per word.
    bool readable = true;
    // Names and ranges from a symbol or an info file; only with `readable`.
    const Annotations* annotations = nullptr;
};

struct Disassembly {
    std::string source;
    // The readable source would not have assembled into the image, so this is the one-line-a-
    // word form. Never expected: each case is a fault of zoltdis.
    bool fellBack = false;
};

// The source for `image`, or nothing when no source can make zoltas write exactly this image;
// `whyNot` then says why. `origin` names the files the image came from, for the heading; `crom`
// says which output the heading's command line asks for.
[[nodiscard]] std::optional<Disassembly> disassemble(const MemoryImage& image,
                                                     const std::string& origin, bool crom,
                                                     const DisassemblyOptions& options,
                                                     std::string& whyNot);

}  // namespace zoltas
