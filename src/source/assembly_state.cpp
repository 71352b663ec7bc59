#include "source/assembly_state.h"

#include "source/syntax.h"

namespace zoltas {

void SymbolTable::defineAssembleAddress() {
    append("AssembleAddress", 0, 1);
}

void SymbolTable::append(std::string_view name, std::uint16_t value, std::int32_t useCount) {
    names.emplace_back(name);
    values.push_back(value);
    useCounts.push_back(useCount);
    // Only the first entry of a name is ever found, so a later duplicate leaves the index alone.
    firstIndexByFoldedName_.try_emplace(foldAscii(name), names.size() - 1);
}

std::optional<std::size_t> SymbolTable::find(std::string_view name) const {
    const auto found = firstIndexByFoldedName_.find(foldAscii(name));
    if (found == firstIndexByFoldedName_.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace zoltas
