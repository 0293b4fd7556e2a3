#!/usr/bin/env bash
# Cross-builds libsndfile for Windows, static, from Debian's libsndfile source package, and
# installs it into $MURMORA_WINDOWS_DEPS (default build-windows/deps): the prefix of every library
# cross-built for Windows, where the Windows build finds them (cmake/mingw-w64-x86_64.cmake).
# A second run does nothing while the installed library is newer than this script.
# WAV, RF64 and libsndfile's other built-in formats are in. FLAC, Ogg Vorbis, Opus and MP3 are
# not: they need their libraries cross-built into the same prefix first; then set
# ENABLE_EXTERNAL_LIBS / ENABLE_MPEG below to ON, and libsndfile's own find modules pick them up.
# Needs: g++-mingw-w64-x86-64-posix, cmake, make, dpkg-dev (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/debian-source-lib.sh
deps=$(realpath -m "${MURMORA_WINDOWS_DEPS:-build-windows/deps}")
out=$deps/lib/libsndfile.a
script=scripts/build-sndfile-windows.sh
[ -f "$out" ] && [ "$out" -nt "$script" ] && exit 0

work=$deps/src # the sources and their build
src=$(debian_source libsndfile "$work")
build() {
    cmake -S "$src" -B "$work/build" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DMURMORA_WINDOWS_DEPS="$deps" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF \
        -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DENABLE_CPACK=OFF \
        -DINSTALL_MANPAGES=OFF -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF &&
        cmake --build "$work/build" -j2 && cmake --install "$work/build"
}
run_logged "$work/build.log" build-sndfile-windows build
touch "$out"
echo "Built $out ($(stat -c %s "$out") bytes) from $(basename "$src")"
