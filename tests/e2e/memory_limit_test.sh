#!/usr/bin/env bash
# Under every address-space limit from 2 to 4 MiB, zoltas either cannot be started at all (the
# system's loader fails before any of its code runs) or ends with "Error: Out of memory" or its
# usual end, exit status 1 or 0: never an abort.
# usage: memory_limit_test.sh ZOLTAS SOURCE
set -u
zoltas="$1"
source="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$source" "$work/prog.asm"
cd "$work"
status=0
for limit in $(seq 2048 16 4096); do
    bash -c 'ulimit -v "$1"; exec "$2" prog.asm out.rom rom' limit "$limit" "$zoltas" \
        > out.txt 2> err.txt
    rc=$?
    last="$(tail -n 1 out.txt)"
    if [ "$rc" = 127 ] || { [ "$rc" = 139 ] && [ ! -s out.txt ]; }; then
        continue  # the system could not start the program at all
    elif [ "$rc" -ge 128 ]; then
        echo "limit $limit KiB: killed by signal $((rc - 128)): $(head -c 200 err.txt)"
        status=1
    elif [ "$last" != "Error: Out of memory" ] && [ "$last" != "Done assembling." ]; then
        echo "limit $limit KiB: exit $rc, last line \"$last\""
        status=1
    fi
done
[ "$status" = 0 ] && echo "no run under a memory limit aborted"
exit "$status"
