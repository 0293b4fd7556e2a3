#!/usr/bin/env bash
# Builds the Windows program when needed and packs build-windows/murmora-windows.zip:
# murmora.exe, LAME.exe, the catalogues of the languages it speaks (locale\), a short README and
# the licences of the libraries murmora.exe and LAME.exe are built with, all that a Windows user
# copies.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh >/dev/null
stage=$(mktemp -d /tmp/murmora-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/Murmora"
cp build-windows/murmora.exe build-windows/LAME.exe "$stage/Murmora/"
cp -r build-windows/locale "$stage/Murmora/"
# Notepad on older Windows wants CRLF line ends.
sed 's/$/\r/' app/windows/README.txt >"$stage/Murmora/README.txt"
mkdir "$stage/Murmora/licences"
for licence in build-windows/deps/share/licences/*.txt; do
    sed 's/$/\r/' "$licence" >"$stage/Murmora/licences/$(basename "$licence")"
done
rm -f build-windows/murmora-windows.zip
(cd "$stage" && zip -q -r -X "$OLDPWD/build-windows/murmora-windows.zip" Murmora)
echo "build-windows/murmora-windows.zip: $(unzip -Z1 build-windows/murmora-windows.zip | tr '\n' ' ')"
