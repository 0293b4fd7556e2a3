#!/usr/bin/env bash
# Cross-builds the real LAME encoder for Windows from Debian's lame source package and places
# it as build-windows/LAME.exe, statically linked (no DLLs beside it). A second run does nothing
# while LAME.exe is newer than this script.
# Needs: g++-mingw-w64-x86-64-posix, make, dpkg-dev (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/debian-source-lib.sh
out=build-windows/LAME.exe
script=scripts/build-lame-windows.sh
[ -x "$out" ] && [ "$out" -nt "$script" ] && exit 0

work=build-windows/lame
src=$(debian_source lame "$work")
build() ( # in a subshell: the cd stays inside
    cd "$src"
    [ -f Makefile ] || ./configure --host=$MINGW_HOST CC=$MINGW_HOST-gcc-posix LDFLAGS=-static \
        --disable-shared --enable-static --disable-gtktest --disable-dependency-tracking
    make -j2
)
run_logged "$PWD/$work/build.log" build-lame-windows build
cp "$src/frontend/lame.exe" "$out"
$MINGW_HOST-strip "$out"
echo "Built $out ($(stat -c %s "$out") bytes) from $(basename "$src")"
