#!/usr/bin/env bash
# Builds the libFuzzer target with AddressSanitizer and UndefinedBehaviorSanitizer and runs it.
# usage: tests/fuzz/run_fuzzer.sh [SECONDS] [extra libFuzzer options...]   (default 60 seconds)
# The corpus grows in build-fuzz/corpus, seeded from the sources of every end-to-end case and
# example; crashes land in build-fuzz/ as crash-* files. Needs clang++ with libFuzzer.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$root/build-fuzz"
seconds="${1:-60}"
shift || true
mkdir -p "$out/corpus" "$out/seeds"

clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/src" $(find "$root/src" -name '*.cpp' ! -name main.cpp) \
    "$root/tests/fuzz/fuzz_assembler.cpp" -o "$out/fuzz_assembler"

python3 "$root/tests/fuzz/make_seeds.py" "$root" "$out/seeds"

cd "$out"
./fuzz_assembler -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$@" corpus seeds
