// The directives that place data words, characters and strings, and define constants. Each takes
// the whole line: position 1 selects the directive, position 2 is skipped, the argument starts
// at position 3.
#pragma once

#include <cstdint>
#include <string_view>

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// One character per word, its byte sign-extended: 0xE9 becomes 0xFFE9.
[[nodiscard]] constexpr std::uint16_t characterWord(char c) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(static_cast<signed char>(c)));
}

[[nodiscard]] LineResult emitDataWord(AssemblyState& state, Reporter& reporter,
                                      std::string_view line);
[[nodiscard]] LineResult emitCharacter(AssemblyState& state, Reporter& reporter,
                                       std::string_view line);
[[nodiscard]] LineResult emitString(AssemblyState& state, Reporter& reporter, std::string_view line,
                                    bool zeroTerminated);
[[nodiscard]] LineResult defineConstant(AssemblyState& state, Reporter& reporter,
                                        std::string_view line);

}  // namespace zoltas
