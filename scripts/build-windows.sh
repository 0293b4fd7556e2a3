#!/usr/bin/env bash
# Cross-builds the Windows programs and their tests into build-windows/ (mingw-w64, static),
# and LAME.exe beside them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows
scripts/build-lame-windows.sh
