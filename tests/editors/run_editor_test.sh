#!/usr/bin/env bash
# Runs one of the Vim script tests in nvim or vim with nothing of the user's loaded, then prints
# the report the script left. Exit status 77 (a skip for CTest) when the editor is missing.
# usage: run_editor_test.sh nvim|vim SCRIPT [ARGUMENT]    (ARGUMENT reaches the script as $ZOLT_ARG)
set -u
editor="$1"
script="$2"
root="$(cd "$(dirname "$0")/../.." && pwd)"
if ! command -v "$editor" >/dev/null; then
    echo "SKIP: $editor is not installed (Debian: neovim, vim)"
    exit 77
fi
case "$editor" in
    nvim) options=(--headless -u NONE -i NONE -n) ;;
    *) options=(-N -u NONE -i NONE -n -es) ;;
esac
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
report="$work/report"
# The editors write straight to a terminal or reopen their outputs; a file of our own is safe.
(cd "$work" && ZOLT_ROOT="$root" ZOLT_REPORT="$report" ZOLT_ARG="${3-}" HOME="$work" \
    "$editor" "${options[@]}" -S "$root/tests/editors/$script" </dev/null >/dev/null)
status=$?
if [ ! -s "$report" ]; then
    echo "FAIL: $script left no report (exit status $status)"
    exit 1
fi
cat "$report"
exit "$status"
