#!/usr/bin/env bash
# Cross-builds zoltas.exe and zoltdis.exe with MinGW-w64 and runs every end-to-end case against
# zoltas.exe under Wine, expecting CR LF line ends in asm.log and the CROM file and the same
# bytes everywhere else. Wine's console may put a CR before each LF on standard output; the
# runner removes exactly that before comparing. Cases that need links, file modes or another
# user (POSIX features) are skipped.
# Needs: g++-mingw-w64-x86-64-posix, wine64 (installed when missing), and the native build of the
# case runner (built here).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"

missing=()
for package in g++-mingw-w64-x86-64-posix wine64 cmake make g++ libgtest-dev; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if ((${#missing[@]})); then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DZOLTAS_TESTS=OFF > /dev/null
cmake --build build-windows -j2
cmake -S . -B build > /dev/null
cmake --build build -j2 --target case_runner

wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
export WINEPREFIX="$(mktemp -d /tmp/zoltas-wine-XXXXXX)"
export WINEDEBUG=-all
trap 'rm -rf "$WINEPREFIX"' EXIT
"$wine" wineboot --init > /dev/null 2>&1 || true

ZOLTAS_WINDOWS=1 ZOLTAS_RUNNER="$wine" ZOLTAS_PROGRAM="$root/build-windows/zoltas.exe" \
    build/case_runner --gtest_filter='Cases/*'
