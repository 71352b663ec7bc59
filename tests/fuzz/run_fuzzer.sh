#!/usr/bin/env bash
# Builds a libFuzzer target with AddressSanitizer and UndefinedBehaviorSanitizer and runs it.
# usage: tests/fuzz/run_fuzzer.sh [SECONDS] [extra libFuzzer options...]   (default 60 seconds)
# FUZZ_TARGET=disassembler runs the zoltdis round-trip target instead of the assembler's, and
# FUZZ_TARGET=lsp the language server on what an editor could send.
# The corpus grows in build-fuzz/corpus-TARGET, seeded by make_seeds.py (the end-to-end cases, the
# examples and inputs that reach the top of memory) with a dictionary of the directive names and
# mnemonics; crashes land in build-fuzz/ as crash-* files. Needs clang++ with libFuzzer.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$root/build-fuzz"
seconds="${1:-60}"
shift || true
target="${FUZZ_TARGET:-assembler}"
mkdir -p "$out/corpus-$target"

clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/src" -I"$root/tests/support" \
    $(find "$root"/src/{driver,source,isa,symbols,output,record,disassembler} \
        "$root"/src/tools/{common,lint} -name '*.cpp' ! -name main.cpp) \
    $( [ "$target" = lsp ] && echo "$root"/src/tools/lsp/{transport,directive_help,language_server}.cpp ) \
    "$root/tests/support/in_memory_run.cpp" "$root/tests/support/check_agreement.cpp" \
    "$root/tests/fuzz/fuzz_$target.cpp" -o "$out/fuzz_$target"

rm -rf "$out/seeds-$target"
python3 "$root/tests/fuzz/make_seeds.py" "$target" "$root" "$out/seeds-$target" \
    "$out/$target.dict"

cd "$out"
"./fuzz_$target" -max_total_time="$seconds" -max_len=140000 -timeout=20 -rss_limit_mb=2048 \
    -dict="$target.dict" -print_final_stats=1 "$@" "corpus-$target" "seeds-$target"
