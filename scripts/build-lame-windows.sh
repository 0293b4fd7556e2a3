#!/usr/bin/env bash
# Places the real LAME encoder for Windows as build-windows/LAME.exe: lame.exe as
# scripts/build-sndfile-windows.sh cross-builds it from Debian's lame source package, together
# with the libmp3lame that libsndfile encodes MP3 with; statically linked (no DLLs beside it).
# A second run does nothing while LAME.exe is newer than the one built.
# Needs: g++-mingw-w64-x86-64-posix, make, dpkg-dev (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
deps=$(realpath -m "${MURMORA_WINDOWS_DEPS:-build-windows/deps}")
out=build-windows/LAME.exe
scripts/build-sndfile-windows.sh
[ -x "$out" ] && [ "$out" -nt "$deps/bin/lame.exe" ] && exit 0
mkdir -p "$(dirname "$out")"
cp "$deps/bin/lame.exe" "$out"
x86_64-w64-mingw32-strip "$out"
echo "Built $out ($(stat -c %s "$out") bytes)"
