#!/usr/bin/env bash
# Builds the Windows program when needed and packs build-windows/murmora-windows.zip:
# murmora.exe, LAME.exe and a short README, all that a Windows user copies.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh >/dev/null
stage=$(mktemp -d /tmp/murmora-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/Murmora"
cp build-windows/murmora.exe build-windows/LAME.exe "$stage/Murmora/"
# Notepad on older Windows wants CRLF line ends.
sed 's/$/\r/' app/windows/README.txt >"$stage/Murmora/README.txt"
rm -f build-windows/murmora-windows.zip
(cd "$stage" && zip -q -r -X "$OLDPWD/build-windows/murmora-windows.zip" Murmora)
echo "build-windows/murmora-windows.zip: $(unzip -Z1 build-windows/murmora-windows.zip | tr '\n' ' ')"
