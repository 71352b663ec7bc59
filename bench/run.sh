#!/usr/bin/env bash
# Builds zoltas in Release (build-bench/) and runs the whole benchmark table.
# usage: bench/run.sh [RUNS]      (needs nasm, binutils and python3; strace for the write count)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DZOLTAS_TESTS=OFF > /dev/null
cmake --build "$root/build-bench" -j2 --target zoltas > /dev/null
# zolt, when its libraries are installed: its rows are left out otherwise.
cmake --build "$root/build-bench" -j2 --target zolt > /dev/null 2>&1 || true
python3 "$root/bench/run.py" "$root/build-bench/zoltas" "${1:-11}"
