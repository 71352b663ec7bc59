// In-process timings of the hot paths: line reading, mnemonic lookup, number reading, name
// lookup and the CROM writer. Run build/micro_benchmarks (Release build).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "driver/file_system.h"
#include "driver/reporter.h"
#include "isa/instruction_table.h"
#include "output/image_writer.h"
#include "source/assembly_state.h"
#include "source/line_reader.h"
#include "source/syntax.h"

namespace zoltas {
namespace {

void lineReading(benchmark::State& state) {
    std::string source;
    for (int i = 0; i < 100'000; ++i) {
        source += i % 3 == 0 ? "; a comment line of ordinary length\n" : "\tlda $1234\t; load\r\n";
    }
    for (auto _ : state) {
        std::istringstream in(source);
        LineReader reader(in);
        std::string_view line;
        std::size_t lines = 0;
        while (reader.next(line)) {
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(lineReading);

void mnemonicLookup(benchmark::State& state) {
    std::vector<std::string_view> mnemonics;
    for (const InstructionRow& row : instructionTable()) {
        mnemonics.push_back(row.mnemonic);
    }
    mnemonics.push_back("xyz");
    for (auto _ : state) {
        for (const std::string_view mnemonic : mnemonics) {
            benchmark::DoNotOptimize(findInstruction(mnemonic));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * mnemonics.size()));
}
BENCHMARK(mnemonicLookup);

void numberReading(benchmark::State& state) {
    const std::string_view texts[] = {"42",    "$1F ; mask", "%101010",    "-1",
                                      "65535", "$0x2A",      "2147483647", "12abc"};
    for (auto _ : state) {
        for (const std::string_view text : texts) {
            benchmark::DoNotOptimize(readNumber(text));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * std::size(texts)));
}
BENCHMARK(numberReading);

void nameLookup(benchmark::State& state) {
    SymbolTable table;
    std::vector<std::string> references;
    for (int i = 0; i < 20'000; ++i) {
        table.define("Label" + std::to_string(i), static_cast<std::uint16_t>(i));
        references.push_back("LABEL" + std::to_string((i * 7919) % 20'000));
    }
    for (auto _ : state) {
        for (const std::string& name : references) {
            benchmark::DoNotOptimize(table.find(name));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * references.size()));
}
BENCHMARK(nameLookup);

void cromWriter(benchmark::State& state) {
    WordImage image;
    for (int i = 0; i < 65536; ++i) {
        image[static_cast<std::uint16_t>(i)] = static_cast<std::uint16_t>(i * 31);
    }
    std::ostringstream console;
    Reporter reporter(console);
    for (auto _ : state) {
        MemoryFileSystem files;
        benchmark::DoNotOptimize(writeCromFile(image, 0, 0xFFFF, "out.rom", {}, reporter, files));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 65536));
}
BENCHMARK(cromWriter);

}  // namespace
}  // namespace zoltas
