#!/usr/bin/env bash
# Builds the Windows program when needed and packs build-windows/murmora-windows.zip:
# murmora.exe, LAME.exe, a short README and the licences of LAME and of libsndfile (linked into
# murmora.exe), all that a Windows user copies.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/debian-source-lib.sh
scripts/build-windows.sh >/dev/null
stage=$(mktemp -d /tmp/murmora-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/Murmora"
cp build-windows/murmora.exe build-windows/LAME.exe "$stage/Murmora/"
# Notepad on older Windows wants CRLF line ends. The sources the builds used give the licences.
crlf() { sed 's/$/\r/' "$1" >"$stage/Murmora/$2"; }
crlf app/windows/README.txt README.txt
crlf "$(debian_source libsndfile "${MURMORA_WINDOWS_DEPS:-build-windows/deps}/src")/COPYING" COPYING-libsndfile.txt
crlf "$(debian_source lame build-windows/lame)/COPYING" COPYING-LAME.txt
rm -f build-windows/murmora-windows.zip
(cd "$stage" && zip -q -r -X "$OLDPWD/build-windows/murmora-windows.zip" Murmora)
echo "build-windows/murmora-windows.zip: $(unzip -Z1 build-windows/murmora-windows.zip | tr '\n' ' ')"
