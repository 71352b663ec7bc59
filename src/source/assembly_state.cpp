#include "source/assembly_state.h"

#include <algorithm>

#include "source/syntax.h"

namespace zoltas {

void SymbolTable::defineAssembleAddress() {
    (void)append("AssembleAddress", 0, 1);
}

std::size_t SymbolTable::append(std::string_view name, std::uint16_t value, std::int64_t useCount) {
    names.push_back(name);
    values.push_back(value);
    useCounts.push_back(useCount);
    hashes_.push_back(hashOf(name));
    // The index stays at most three quarters full. Its slots hold distinct names, so growing it
    // only moves them.
    if (4 * names.size() > 3 * slots_.size()) {
        std::vector<std::uint32_t> old(std::max<std::size_t>(16, 2 * slots_.size()), 0);
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const std::uint32_t entryPlusOne : old) {
            if (entryPlusOne != 0) {
                std::size_t i = hashes_[entryPlusOne - 1] & mask;
                while (slots_[i] != 0) {
                    i = (i + 1) & mask;
                }
                slots_[i] = entryPlusOne;
            }
        }
    }
    // Only the first entry of a name is ever found, so a later duplicate gets no slot.
    std::uint32_t& slot = slots_[probe(name, hashes_.back())];
    if (slot == 0) {
        slot = static_cast<std::uint32_t>(names.size());
    }
    return slot - 1;
}

// The slot that holds `name`, or the empty slot where it would go.
std::size_t SymbolTable::probe(std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i] != 0 &&
           !(hashes_[slots_[i] - 1] == hash && equalFolded(names[slots_[i] - 1], name))) {
        i = (i + 1) & mask;
    }
    return i;
}

std::optional<std::size_t> SymbolTable::find(std::string_view name) const {
    if (slots_.empty()) {
        return std::nullopt;
    }
    const std::uint32_t entryPlusOne = slots_[probe(name, hashOf(name))];
    if (entryPlusOne == 0) {
        return std::nullopt;
    }
    return entryPlusOne - 1;
}

}  // namespace zoltas
