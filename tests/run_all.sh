#!/usr/bin/env bash
# Every test, as CI runs it: the suite built with g++ and with clang++ (warnings are errors in
# both), once more under AddressSanitizer and UndefinedBehaviorSanitizer, the formatting check,
# and each fuzz target for a short while. The slow tests (a source of 2^31 lines, the export
# formats read by other programs) and the editor tests run in the g++ build only.
# usage: tests/run_all.sh            (FUZZ_SECONDS=30 by default; 0 leaves the fuzzers out)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
fuzz_seconds="${FUZZ_SECONDS:-30}"
started=$SECONDS
step() { printf '\n=== %s (%d s so far)\n' "$*" "$((SECONDS - started))"; }

suite() {  # build-dir, then cmake options
    local dir="$1"
    shift
    cmake -S . -B "$dir" "$@" > /dev/null
    cmake --build "$dir" -j2
    ctest --test-dir "$dir" --output-on-failure -j2
}

step "g++, warnings as errors"
suite build -DZOLTAS_WERROR=ON
step "clang++, warnings as errors"
suite build-clang -DCMAKE_CXX_COMPILER=clang++ -DZOLTAS_WERROR=ON -DZOLTAS_SLOW_TESTS=OFF \
    -DZOLTAS_EDITOR_TESTS=OFF
step "g++ with AddressSanitizer, UndefinedBehaviorSanitizer and library assertions"
suite build-san -DCMAKE_BUILD_TYPE=Debug -DZOLTAS_SANITIZE=ON -DZOLTAS_SLOW_TESTS=OFF \
    -DZOLTAS_EDITOR_TESTS=OFF

step "formatting"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

if [ "$fuzz_seconds" != 0 ]; then
    for target in assembler disassembler lsp; do
        step "fuzzing $target for $fuzz_seconds seconds"
        FUZZ_TARGET="$target" tests/fuzz/run_fuzzer.sh "$fuzz_seconds"
    done
fi
step "all tests passed"
