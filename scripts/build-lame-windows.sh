#!/usr/bin/env bash
# Cross-builds the real LAME encoder for Windows from Debian's lame source package and places
# it as build-windows/LAME.exe, statically linked (no DLLs beside it). A second run does nothing
# while LAME.exe is newer than this script.
# Needs: g++-mingw-w64-x86-64-posix, make, dpkg-dev (scripts/install-deps.sh). Adds a deb-src
# line for the system's own suite when apt has none; that part runs as root, or through sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-windows/LAME.exe
script=scripts/build-lame-windows.sh
[ -x "$out" ] && [ "$out" -nt "$script" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
work=build-windows/lame
mkdir -p "$work"

# The mirror that serves the system's suite and the key it is signed with (apt refuses a second
# entry for the same mirror and suite with another key), from either form of apt's sources:
# "URI KEY", the key possibly empty.
main_mirror() {
    local suite=$1
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk -v suite="$suite" '
        function done() { if (found && uri) { print uri, key; exit } found = 0; uri = key = "" }
        /^$/ { done() }
        /^URIs:/ { uri = $2 }
        /^Signed-By:/ { key = $2 }
        /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite) found = 1 }
        END { done() }'
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | awk -v suite="$suite" '
        $1 == "deb" {
            key = ""
            if (match($0, /signed-by=[^] ]+/)) key = substr($0, RSTART + 10, RLENGTH - 10)
            sub(/^deb +(\[[^]]*\] +)?/, "")
            if ($2 == suite) { print $1, key; exit }
        }'
}

if ! apt-cache showsrc lame 2>/dev/null | grep -q '^Package: lame'; then
    . /etc/os-release
    read -r mirror key < <(main_mirror "$VERSION_CODENAME" || true)
    [ -n "${mirror:-}" ] || { echo "build-lame-windows: no apt source for $VERSION_CODENAME to add a deb-src line for" >&2; exit 1; }
    line="deb-src ${key:+[signed-by=$key] }$mirror $VERSION_CODENAME main"
    echo "Adding to apt's sources: $line"
    echo "$line" | $sudo tee /etc/apt/sources.list.d/murmora-deb-src.list >/dev/null
    $sudo apt-get update -qq
fi

# The source once; apt-get source unpacks it with Debian's patches applied.
src=$(find "$work" -maxdepth 1 -type d -name 'lame-*' | head -n1)
if [ -z "$src" ]; then
    (cd "$work" && apt-get source -qq lame >/dev/null)
    src=$(find "$work" -maxdepth 1 -type d -name 'lame-*' | head -n1)
fi

host=x86_64-w64-mingw32
log=$PWD/$work/build.log
if ! (
    cd "$src"
    [ -f Makefile ] || ./configure --host=$host CC=$host-gcc-posix LDFLAGS=-static \
        --disable-shared --enable-static --disable-gtktest --disable-dependency-tracking
    make -j2
) >"$log" 2>&1; then
    tail -30 "$log" >&2
    echo "build-lame-windows: the build failed; the whole log is $log" >&2
    exit 1
fi
cp "$src/frontend/lame.exe" "$out"
$host-strip "$out"
echo "Built $out ($(stat -c %s "$out") bytes) from $(basename "$src")"
