// The whole mutable state of one assembly run and the plain types the passes share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/assembly_record.h"
#include "source/name_list.h"
#include "source/syntax.h"

namespace zoltas {

// A number read from the source keeps its low 16 bits when it becomes a word or an address:
// -1 becomes 0xFFFF and 65536 becomes 0x0000.
constexpr std::uint16_t toWord(std::int32_t value) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value));
}

// 65,536 words indexed by a 16-bit address, so no index can leave the image.
class WordImage {
  public:
    static constexpr std::size_t kWords = 65536;

    WordImage() : words_(kWords, 0) {}
    std::uint16_t& operator[](std::uint16_t address) { return words_[address]; }
    std::uint16_t operator[](std::uint16_t address) const { return words_[address]; }

  private:
    std::vector<std::uint16_t> words_;
};

enum class OutputFormat { crom, bin };

// The size limit in words until a ".lim" line sets another.
inline constexpr std::uint16_t kInitialSizeLimit = 0xFFFF;

// The outcome of handling one source line.
enum class LineResult { proceed, endOfSource, abortRun };

// Labels or constants: parallel sequences, appended only, so an index is the definition order.
class SymbolTable {
  public:
    NameList names;
    std::vector<std::uint16_t> values;
    std::vector<std::int64_t> useCounts;

    // Appends (name, value, 0) without any check: a repeated name is a second entry that lookups
    // never reach. Returns the index of the entry that lookups of the name reach: the new one,
    // or the first of that name.
    std::size_t define(std::string_view name, std::uint16_t value) {
        return append(name, value, 0);
    }

    // Appends the built-in "AssembleAddress" as an entry that never counts as unused.
    void defineAssembleAddress();

    // Entry 0 follows the address at the start of every line.
    void setAssembleAddress(std::uint16_t address) { values[0] = address; }

    // The first entry whose name equals `name` with only A to Z folded: the same answer as
    // findName over `names`, from an index instead of a scan.
    [[nodiscard]] std::optional<std::size_t> find(std::string_view name) const;

    [[nodiscard]] std::size_t size() const { return names.size(); }

  private:
    std::size_t append(std::string_view name, std::uint16_t value, std::int64_t useCount);
    [[nodiscard]] std::size_t probe(std::string_view name, std::uint32_t hash) const;
    [[nodiscard]] std::uint32_t hashOf(std::string_view name) const {
        return static_cast<std::uint32_t>(foldedHash(name, key_));
    }

    // Open addressing over the names folded to lower case: a used slot holds the index + 1 of
    // the first entry with that folded name. Each entry keeps its hash, so growing the index
    // moves slots without hashing names again. The hash is keyed anew for every table, so that
    // no source can choose names that fall on one slot.
    HashKey key_ = randomHashKey();
    std::vector<std::uint32_t> hashes_;
    std::vector<std::uint32_t> slots_;
};

// Symbolic words waiting for pass 2 (constants) or pass 3 (labels). Both halves grow together.
struct ReferenceList {
    NameList names;
    std::vector<std::uint16_t> addresses;

    void record(std::string_view name, std::uint16_t address) {
        names.push_back(name);
        addresses.push_back(address);
    }
};

struct AssemblyState {
    WordImage image;
    std::uint16_t address = 0;
    std::uint16_t highestAddress = 0;
    std::uint16_t startAddress = 0;
    std::uint16_t sizeLimit = kInitialSizeLimit;

    OutputFormat outputFormat = OutputFormat::crom;
    std::string outputName;
    std::string inputName;
    bool logEnabled = false;
    bool warningsEnabled = true;
    std::int64_t warningCount = 0;

    bool literalMode = false;
    bool counting = false;
    std::uint16_t counterValue = 0;
    std::uint16_t counterStart = 0;

    std::int64_t lineNumber = 0;

    SymbolTable labels;
    SymbolTable constants;
    ReferenceList labelRefs;
    ReferenceList constantRefs;

    // Filled as the passes go when a tool asks for the record of the run; zoltas never does.
    AssemblyRecord* record = nullptr;

    // Writes `word` at the current address and moves on by one, wrapping after 0xFFFF.
    void place(std::uint16_t word) {
        image[address] = word;
        ++address;
        if (record != nullptr) {
            ++record->line().wordsPlaced;
        }
    }

    // A symbolic word at `wordAddress`: `token` starts with "/" (a label, resolved in pass 3) or
    // "\" (a constant, pass 2); the name is cut from it by referenceName.
    void refer(std::string_view token, std::uint16_t wordAddress) {
        const bool constant = token[0] == '\\';
        const std::string_view name = referenceName(token);
        (constant ? constantRefs : labelRefs).record(name, wordAddress);
        if (record != nullptr) {
            record->reference(constant, token, name, wordAddress);
        }
    }
};

}  // namespace zoltas
