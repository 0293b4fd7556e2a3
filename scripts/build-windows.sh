#!/usr/bin/env bash
# Cross-builds the Windows programs and their tests into build-windows/ (mingw-w64, static):
# first the libraries Debian has no mingw build of (from its source packages, into
# build-windows/deps), then the programs, then LAME.exe beside them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-sndfile-windows.sh
scripts/build-intl-windows.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
scripts/build-lame-windows.sh
