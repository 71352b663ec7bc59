#!/usr/bin/env bash
# zoltdis as a user runs it: failed writes of its output, files that are not files, inputs that
# never end, memory limits, and a BIN pair split and joined by srec_cat (srecord), which no one
# here wrote. An input that zoltdis read to its end would hang this script; the test's timeout
# ends it.
# usage: zoltdis_cli_test.sh ZOLTDIS ZOLTAS REPOSITORY
set -u
zoltdis="$(realpath "$1")"
zoltas="$(realpath "$2")"
repository="$(realpath "$3")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# expect STATUS STDERR-LINE COMMAND...: the exit status and the first line of standard error.
expect() {
    local want_status="$1" want_error="$2"
    shift 2
    "$@" > out.txt 2> err.txt
    local got=$?
    local first
    first="$(head -n 1 err.txt)"
    if [ "$got" != "$want_status" ] || [ "$first" != "$want_error" ]; then
        fail "$* -> exit $got, \"$first\"; expected exit $want_status, \"$want_error\""
    fi
}

printf 'M0000=00ff\n' > ok.rom
mkdir folder

expect 1 "Write error: Couldn't write to standard output" \
    bash -c '"$1" ok.rom > /dev/full' - "$zoltdis"
expect 1 "Write error: Couldn't write to standard output" \
    bash -c '"$1" ok.rom >&-' - "$zoltdis"
expect 1 "Write error: Couldn't write to standard output" \
    bash -c '"$1" --help > /dev/full' - "$zoltdis"
expect 0 "" "$zoltdis" --help
head -n 1 out.txt | grep -qx 'Usage:' || fail "--help printed \"$(head -n 1 out.txt)\""
expect 1 'Load error: "folder" cannot be read' "$zoltdis" folder
expect 1 'Load error: No such file "gone.rom" exists!' "$zoltdis" gone.rom

# Endless inputs end at the first byte that no image can have.
expect 1 'L1	ERROR: Invalid CROM line "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00..."' \
    "$zoltdis" /dev/zero
expect 1 'Load error: "/dev/zero" has more than 65536 bytes, one for each word of memory' \
    "$zoltdis" /dev/zero /dev/zero
expect 1 'Load error: "/dev/urandom" has more than 65536 bytes, one for each word of memory' \
    bash -c 'ulimit -v 1048576; exec "$1" /dev/urandom /dev/urandom' - "$zoltdis"
yes M0000=0001 | head -c 100000000 > repeated.rom
expect 1 'L2	ERROR: Address $0000 does not follow the one before' "$zoltdis" repeated.rom

# Under tight address-space limits: the system cannot start it, or it ends with its output or
# with "Error: Out of memory", exit 0 or 1, never on a signal.
"$zoltas" "$repository/tests/zoltdis/rom.asm" rom.rom rom > /dev/null || fail "rom.asm"
rm -f asm.log
for limit in $(seq 1024 64 8192); do
    # The inner shell's own note of a crash goes to /dev/null, not into this script's output.
    bash -c 'ulimit -v "$1"; "$2" rom.rom > out.txt 2> err.txt; echo $? > rc.txt' - \
        "$limit" "$zoltdis" 2> /dev/null
    rc="$(cat rc.txt)"
    if [ "$rc" = 127 ] || { [ "$rc" = 139 ] && [ ! -s out.txt ] && [ ! -s err.txt ]; }; then
        continue  # the system could not start the program at all
    elif [ "$rc" -ge 128 ]; then
        fail "limit $limit KiB: killed by signal $((rc - 128)): $(head -c 200 err.txt)"
    elif [ "$rc" = 1 ] && [ "$(cat err.txt)" != "Error: Out of memory" ]; then
        fail "limit $limit KiB: exit 1 with \"$(head -c 200 err.txt)\""
    elif [ "$rc" = 0 ] && ! grep -q '^; Disassembled by zoltdis' out.txt; then
        fail "limit $limit KiB: exit 0 without the source"
    fi
done

# An EEPROM pair as srec_cat splits a flat big-endian image: zoltdis reads it, zoltas writes the
# same halves again, and srec_cat joins them into the same image.
if command -v srec_cat > /dev/null; then
    "$zoltas" "$repository/tests/zoltdis/rom.asm" rom.bin > /dev/null || fail "rom.asm as BIN"
    srec_cat HI_rom.bin -binary -unsplit 2 0 LO_rom.bin -binary -unsplit 2 1 \
        -o flat.bin -binary
    srec_cat flat.bin -binary -split 2 0 -o HI_split -binary
    srec_cat flat.bin -binary -split 2 1 -o LO_split -binary
    "$zoltdis" --start '$8000' HI_split LO_split > back.asm || fail "zoltdis on the split pair"
    "$zoltas" back.asm back > /dev/null || fail "back.asm"
    cmp -s HI_back HI_split && cmp -s LO_back LO_split || fail "the halves differ"
    srec_cat HI_back -binary -unsplit 2 0 LO_back -binary -unsplit 2 1 -o joined.bin -binary
    cmp -s joined.bin flat.bin || fail "the joined image differs"
else
    fail "srec_cat is missing (Debian: srecord)"
fi

[ "$status" = 0 ] && echo "zoltdis: every command-line case passed"
exit "$status"
