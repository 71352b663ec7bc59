#!/usr/bin/env bash
# Peak resident memory of whole zoltas runs on 1 MB and 200 MB sources of comment and
# instruction lines, with the log off and on: it must not grow with the source.
# usage: bench/memory.sh [path/to/zoltas]   (default: build/zoltas)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
zoltas="$(realpath "${1:-$here/../build/zoltas}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

for size in 1 200; do
    python3 "$here/generate_lines.py" "$size" "lines$size.asm"
    for log in off on; do
        args=("lines$size.asm" out.rom rom)
        [ "$log" = on ] && args+=(log)
        rss=$( { /usr/bin/time -v "$zoltas" "${args[@]}" > /dev/null; } 2>&1 |
               awk -F': ' '/Maximum resident set size/ {print $2}')
        printf '%4s MB source, log %-3s  peak RSS %6s KiB\n' "$size" "$log" "$rss"
        rm -f asm.log
    done
done
