#!/usr/bin/env bash
# Configures and builds everything, the tests included, into build/ with the default preset.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default -DMURMORA_BUILD_TESTS=ON >/dev/null
cmake --build --preset default
