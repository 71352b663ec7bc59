// The formats that no program here can read back (Logisim-evolution's v3.0 file, Xilinx's COE,
// MIF with its ranges, which srec_cat misreads) are read by the grammar their documentation
// gives, for a full image with runs and for one that starts high in a deeper memory.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tools/export/formats.h"

namespace zoltas {
namespace {

using Memory = std::map<std::uint32_t, std::uint16_t>;

std::string lowered(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::uint32_t hexValue(const std::string& digits) {
    std::size_t used = 0;
    const unsigned long value = std::stoul(digits, &used, 16);
    if (used != digits.size() || digits.empty()) {
        throw std::runtime_error("not hexadecimal: " + digits);
    }
    return static_cast<std::uint32_t>(value);
}

// v3.0 hex words addressed: lines of a word address, an optional ":", and words one blank
// apart; "#" starts a comment and two blanks end what a line says.
Memory readLogisimAddressed(const std::string& file) {
    std::istringstream lines(file);
    std::string line;
    std::getline(lines, line);
    if (line != "v3.0 hex words addressed") {
        throw std::runtime_error("header: " + line);
    }
    Memory memory;
    while (std::getline(lines, line)) {
        line = line.substr(0, line.find('#'));
        line = line.substr(0, line.find("  "));
        std::istringstream fields(line);
        std::string address;
        if (!(fields >> address)) {
            continue;
        }
        if (address.ends_with(':')) {
            address.pop_back();
        }
        std::uint32_t at = hexValue(address);
        for (std::string word; fields >> word;) {
            memory[at++] = static_cast<std::uint16_t>(hexValue(word));
        }
    }
    return memory;
}

// keyword = value; ... memory_initialization_vector = v, v, ...; with the radix given before;
// keywords in any letter case; values from address 0.
Memory readCoe(const std::string& file) {
    const std::string text = lowered(file);
    const std::string radix = "memory_initialization_radix";
    const std::string vector = "memory_initialization_vector";
    const std::size_t radixAt = text.find(radix);
    const std::size_t vectorAt = text.find(vector);
    if (radixAt == std::string::npos || vectorAt == std::string::npos || radixAt > vectorAt) {
        throw std::runtime_error("no radix before the vector");
    }
    std::string radixValue = text.substr(radixAt + radix.size());
    radixValue = radixValue.substr(0, radixValue.find(';'));
    if (radixValue.find_first_not_of(" =16") != std::string::npos ||
        radixValue.find("16") == std::string::npos) {
        throw std::runtime_error("radix: " + radixValue);
    }
    std::string values = text.substr(vectorAt + vector.size());
    if (values.find(';') == std::string::npos) {
        throw std::runtime_error("the vector has no end");
    }
    values = values.substr(0, values.find(';'));
    const std::size_t equals = values.find('=');
    if (equals == std::string::npos ||
        values.substr(0, equals).find_first_not_of(" \n") != std::string::npos) {
        throw std::runtime_error("no = after the vector keyword");
    }
    for (char& c : values) {
        c = c == ',' ? ' ' : c;
    }
    std::istringstream words(values.substr(equals + 1));
    Memory memory;
    std::uint32_t address = 0;
    for (std::string word; words >> word;) {
        memory[address++] = static_cast<std::uint16_t>(hexValue(word));
    }
    return memory;
}

// DEPTH, WIDTH, ADDRESS_RADIX and DATA_RADIX, then CONTENT BEGIN, "address : value;" or
// "[first..last] : value;" entries, and END; every address below DEPTH given exactly once.
Memory readMif(const std::string& file) {
    std::istringstream lines(file);
    std::string line;
    const std::vector<std::string> header = {"WIDTH = 16;", "ADDRESS_RADIX = HEX;",
                                             "DATA_RADIX = HEX;", "CONTENT", "BEGIN"};
    std::getline(lines, line);
    if (!line.starts_with("DEPTH = ") || !line.ends_with(";")) {
        throw std::runtime_error("depth: " + line);
    }
    const std::uint32_t depth = static_cast<std::uint32_t>(std::stoul(line.substr(8)));
    for (const std::string& expected : header) {
        std::getline(lines, line);
        if (line != expected) {
            throw std::runtime_error("header: " + line);
        }
    }
    Memory memory;
    while (std::getline(lines, line) && line != "END;") {
        const std::size_t colon = line.find(" : ");
        if (colon == std::string::npos || !line.ends_with(";")) {
            throw std::runtime_error("entry: " + line);
        }
        const std::string where = line.substr(0, colon);
        const auto value =
            static_cast<std::uint16_t>(hexValue(line.substr(colon + 3, line.size() - colon - 4)));
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        if (where.starts_with("[")) {
            const std::size_t dots = where.find("..");
            first = hexValue(where.substr(1, dots - 1));
            last = hexValue(where.substr(dots + 2, where.size() - dots - 3));
        } else {
            first = last = hexValue(where);
        }
        for (std::uint32_t address = first; address <= last; ++address) {
            if (!memory.emplace(address, value).second || address >= depth) {
                throw std::runtime_error("address given twice or past the depth: " + line);
            }
        }
    }
    if (line != "END;" || memory.size() != depth) {
        throw std::runtime_error("not every address below the depth is given");
    }
    return memory;
}

TEST(ExportGrammar, FilesWithoutAReaderHereFollowTheirDocumentedGrammar) {
    std::mt19937 random(15);
    MemoryImage full{0x0000, {}};
    for (std::uint32_t k = 0; k < 0x10000; ++k) {
        // Runs of every length up to 8 among single words.
        const auto word = static_cast<std::uint16_t>(random() % 3 == 0 ? 0 : random());
        const std::uint32_t repeat = random() % 4 == 0 ? random() % 8 + 1 : 1;
        for (std::uint32_t r = 0; r < repeat && full.words.size() < 0x10000; ++r) {
            full.words.push_back(word);
        }
    }
    const MemoryImage high{0xFF00, {0xabcd, 0, 0, 0, 0, 0x1234, 0xffff}};
    struct Case {
        const char* what;
        const MemoryImage& image;
        ExportFormat format;
        std::optional<std::uint32_t> depth;
        Memory (*read)(const std::string&);
    };
    const Case cases[] = {
        {"logisim3, full", full, ExportFormat::logisim3, std::nullopt, readLogisimAddressed},
        {"logisim3, high", high, ExportFormat::logisim3, std::nullopt, readLogisimAddressed},
        {"coe, full", full, ExportFormat::coe, std::nullopt, readCoe},
        {"coe, high, deeper", high, ExportFormat::coe, 0x10000, readCoe},
        {"mif, full", full, ExportFormat::mif, std::nullopt, readMif},
        {"mif, high", high, ExportFormat::mif, std::nullopt, readMif},
    };
    for (const Case& c : cases) {
        ExportRequest request{.format = c.format, .depth = c.depth};
        std::string whyNot;
        const auto placement = placeImage(c.image, request, whyNot);
        ASSERT_TRUE(placement.has_value()) << whyNot;
        Memory memory;
        try {
            memory = c.read(exportBytes(c.image, *placement));
        } catch (const std::exception& error) {
            ADD_FAILURE() << c.what << ": " << error.what();
            continue;
        }
        // Addressed formats give the image's words; the others every word from 0 to the depth.
        const bool addressed = c.format == ExportFormat::logisim3;
        const std::uint32_t end = c.depth.value_or(c.image.start + c.image.words.size());
        Memory expected;
        for (std::uint32_t address = addressed ? c.image.start : 0; address < end; ++address) {
            const bool inImage =
                address >= c.image.start && address - c.image.start < c.image.words.size();
            expected[address] = inImage ? c.image.words[address - c.image.start] : 0;
        }
        EXPECT_EQ(memory, expected) << c.what;
    }
}

}  // namespace
}  // namespace zoltas
