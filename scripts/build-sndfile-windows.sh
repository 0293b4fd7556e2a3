#!/usr/bin/env bash
# Cross-builds libsndfile for Windows, static, from Debian's source packages, with the codec
# libraries it encodes and decodes FLAC, Ogg Vorbis, Opus and MP3 through (libogg, libvorbis,
# flac, opus, lame's libmp3lame, mpg123), and libopusenc, which the take encoder writes Opus
# with; installs them all into $MURMORA_WINDOWS_DEPS (default build-windows/deps): the prefix of
# every library cross-built for Windows, where the Windows build finds them
# (cmake/mingw-w64-x86_64.cmake), with each one's licence in share/licences/.
# A second run does nothing while the installed libraries are newer than this script.
# Needs: g++-mingw-w64-x86-64-posix, cmake, make, dpkg-dev (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/debian-source-lib.sh
deps=$(realpath -m "${MURMORA_WINDOWS_DEPS:-build-windows/deps}")
out=$deps/lib/libsndfile.a
script=scripts/build-sndfile-windows.sh
[ -f "$out" ] && [ "$out" -nt "$script" ] && exit 0

# Static libraries only: FLAC's headers otherwise ask for its DLL's symbols. Stack protection
# and _FORTIFY_SOURCE would need libssp, which the programs do not link.
build_static_library libogg ogg "$deps"
build_static_library libvorbis vorbis "$deps" --disable-docs --disable-examples --disable-oggtest --with-ogg="$deps"
build_static_library flac FLAC "$deps" CFLAGS="-O2 -DFLAC__NO_DLL" --disable-cpplibs --disable-programs \
    --disable-examples --disable-doxygen-docs --disable-oggtest --disable-stack-smash-protection \
    --disable-fortify-source --with-ogg="$deps"
build_static_library opus opus "$deps" --disable-doc --disable-extra-programs --disable-stack-protector \
    CPPFLAGS="-I$deps/include -D_FORTIFY_SOURCE=0"
build_static_library libopusenc opusenc "$deps" --disable-examples --disable-doc
build_static_library mpg123 mpg123 "$deps" --disable-modules --with-audio=dummy --with-default-audio=dummy \
    --disable-network
build_static_library lame mp3lame "$deps" --disable-gtktest

work=$deps/src # the sources and their build
src=$(debian_source libsndfile "$work")
build() {
    # FLAC__NO_DLL: the static libFLAC, as above.
    cmake -S "$src" -B "$work/build" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DMURMORA_WINDOWS_DEPS="$deps" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF \
        -DCMAKE_C_FLAGS=-DFLAC__NO_DLL -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF \
        -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF -DENABLE_EXTERNAL_LIBS=ON -DENABLE_MPEG=ON &&
        cmake --build "$work/build" -j2 && cmake --install "$work/build"
}
run_logged "$work/build.log" build-sndfile-windows build
# libsndfile drops a codec it does not find without a word.
for codec in ENABLE_EXTERNAL_LIBS ENABLE_MPEG; do
    grep -q "^$codec:BOOL=ON" "$work/build/CMakeCache.txt" ||
        { echo "build-sndfile-windows: libsndfile was built without $codec; see $work/build.log" >&2; exit 1; }
done
# The find modules of the codec libraries, which libsndfile's package configuration asks for
# (mpg123's by the name it asks for).
modules=$deps/lib/cmake/SndFile/modules
mkdir -p "$modules"
cp "$src"/cmake/Find{Ogg,Vorbis,FLAC,Opus,mp3lame}.cmake "$modules/"
sed 's/find_package_handle_standard_args (Mpg123/find_package_handle_standard_args (MPG123/' \
    "$src/cmake/FindMpg123.cmake" >"$modules/FindMPG123.cmake"
# What the Windows package carries of each library's licence.
mkdir -p "$deps/share/licences"
for licence in libsndfile/COPYING libogg/COPYING libvorbis/COPYING flac/COPYING.Xiph opus/COPYING \
    libopusenc/COPYING mpg123/COPYING lame/COPYING; do
    package=${licence%%/*}
    cp "$(find "$work" -maxdepth 1 -type d -name "$package-*" | head -n1)/${licence#*/}" \
        "$deps/share/licences/$package.txt"
done
touch "$out"
echo "Built $out ($(stat -c %s "$out") bytes) from $(basename "$src")"
