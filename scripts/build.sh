#!/usr/bin/env bash
# Configures and builds everything into build/ with the default preset.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default
