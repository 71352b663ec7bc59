#!/usr/bin/env bash
# Symbol lookup cost: a source with 20,000 labels and 10,000 constants, each referenced once,
# against a numeric source of the same size, and the growth from 5,000 to 20,000 labels.
# usage: bench/symbols.sh [path/to/zoltas]   (default: build/zoltas)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
zoltas="$(realpath "${1:-$here/../build/zoltas}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 "$here/generate_symbols.py" 20000 10000 symbols.asm numeric.asm
python3 "$here/generate_symbols.py" 5000 2500 symbols5k.asm numeric5k.asm
python3 "$here/generate_symbols.py" 10000 5000 symbols10k.asm numeric10k.asm
"$zoltas" symbols.asm out.rom rom > /dev/null
"$zoltas" numeric.asm num.rom rom > /dev/null
cmp -s out.rom num.rom && echo "images: identical" || { echo "images differ"; exit 1; }
wc -l symbols.asm numeric.asm | head -2

python3 "$here/time_runs.py" 21 \
    "symbols 20k+10k=$zoltas symbols.asm out.rom rom" \
    "numeric 20k+10k=$zoltas numeric.asm out.rom rom" \
    "symbols 5k+2.5k=$zoltas symbols5k.asm out.rom rom" \
    "symbols 10k+5k=$zoltas symbols10k.asm out.rom rom"
