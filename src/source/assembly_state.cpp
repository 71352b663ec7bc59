#include "source/assembly_state.h"

#include <algorithm>

#include "source/syntax.h"

namespace zoltas {

void SymbolTable::defineAssembleAddress() {
    append("AssembleAddress", 0, 1);
}

void SymbolTable::append(std::string_view name, std::uint16_t value, std::int32_t useCount) {
    names.push_back(name);
    values.push_back(value);
    useCounts.push_back(useCount);
    // The index stays at most half full. Its slots hold distinct names, so growing only moves
    // them, by the hash they keep.
    if (2 * names.size() > slots_.size()) {
        std::vector<Slot> old(std::max<std::size_t>(16, 2 * slots_.size()));
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.indexPlusOne != 0) {
                std::size_t i = slot.hash & mask;
                while (slots_[i].indexPlusOne != 0) {
                    i = (i + 1) & mask;
                }
                slots_[i] = slot;
            }
        }
    }
    index(names.size() - 1);
}

// Only the first entry of a name is ever found, so a later duplicate gets no slot.
void SymbolTable::index(std::size_t entry) {
    const std::string_view name = names[entry];
    const std::uint32_t hash = foldedHash(name);
    Slot& slot = slots_[probe(name, hash)];
    if (slot.indexPlusOne == 0) {
        slot = {static_cast<std::uint32_t>(entry + 1), hash};
    }
}

// The slot that holds `name`, or the empty slot where it would go.
std::size_t SymbolTable::probe(std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].indexPlusOne != 0 &&
           !(slots_[i].hash == hash && equalFolded(names[slots_[i].indexPlusOne - 1], name))) {
        i = (i + 1) & mask;
    }
    return i;
}

std::optional<std::size_t> SymbolTable::find(std::string_view name) const {
    if (slots_.empty()) {
        return std::nullopt;
    }
    const Slot& slot = slots_[probe(name, foldedHash(name))];
    if (slot.indexPlusOne == 0) {
        return std::nullopt;
    }
    return slot.indexPlusOne - 1;
}

}  // namespace zoltas
