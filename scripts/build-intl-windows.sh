#!/usr/bin/env bash
# Cross-builds libintl, gettext's runtime library, for Windows, static, from Debian's gettext
# source package, and installs it into $MURMORA_WINDOWS_DEPS (default build-windows/deps), with
# its licence: the program's texts are looked up in its catalogues through it, as on Linux
# through the C library's. Only gettext-runtime's intl/ is built, without iconv: the catalogues
# are UTF-8 and the program asks for UTF-8, so no text is converted.
# A second run does nothing while the installed library is newer than this script.
# Needs: g++-mingw-w64-x86-64-posix, make, dpkg-dev (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/debian-source-lib.sh
deps=$(realpath -m "${MURMORA_WINDOWS_DEPS:-build-windows/deps}")
out=$deps/lib/libintl.a
[ -f "$out" ] && [ "$out" -nt scripts/build-intl-windows.sh ] && exit 0

src=$(debian_source gettext "$deps/src")
build() (
    cd "$src/gettext-runtime"
    ./configure --host=$MINGW_HOST CC=$MINGW_HOST-gcc-posix --prefix="$deps" --disable-shared --enable-static \
        --disable-dependency-tracking --disable-libasprintf --disable-java --disable-csharp --disable-c++ \
        --disable-openmp --disable-curses --without-libiconv-prefix --without-libintl-prefix am_cv_func_iconv=no
    make -C intl -j2 && make -C intl install
)
run_logged "$deps/src/gettext.log" "libintl for Windows" build
mkdir -p "$deps/share/licences"
cp "$src/gettext-runtime/intl/COPYING.LIB" "$deps/share/licences/libintl.txt"
touch "$out"
echo "Built $out from $(basename "$src")"
