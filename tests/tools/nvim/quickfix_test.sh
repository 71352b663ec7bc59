#!/usr/bin/env bash
# Neovim's quickfix list reads `zolt check` output with a plain GNU errorformat: every diagnostic
# lands with its file, line, column and kind.
# usage: quickfix_test.sh ZOLT
set -euo pipefail
zolt="$1"
here="$(cd "$(dirname "$0")" && pwd)"
if ! command -v nvim >/dev/null; then
    echo "nvim is not installed (Debian: neovim): skipped"
    exit 0
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
printf 'start:\n\tlda /missing\n\tfoo 5\n\tnop 5\ntwice:\ntwice:\n\tjmp /start\n; end\n' > bad.asm
"$zolt" check bad.asm > check.txt || true
nvim --headless -u NONE -i NONE -n -c "luafile $here/quickfix_check.lua" -c 'qall!'
