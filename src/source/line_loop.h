// Pass 1: reads the source line by line and hands each line to its handler.
#pragma once

#include <cstdint>
#include <istream>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// Pass 1 reads no line of three or more characters once the highest address lies this many words
// above the start address, or more: two below the size limit. A limit of 0 or 1 gives a negative
// distance, which stops pass 1 at the first such line.
[[nodiscard]] constexpr std::int32_t wordLimitDistance(std::uint16_t sizeLimit) {
    return static_cast<std::int32_t>(sizeLimit) - 2;
}

// Ends with success at the end of the source, at ".end" or at the word limit; with failure after
// a handler has reported a fatal error. A read error ends the lines as the end of the source
// does: the stream's state tells the caller which it was.
[[nodiscard]] bool parseSource(std::istream& source, AssemblyState& state, Reporter& reporter);

}  // namespace zoltas
