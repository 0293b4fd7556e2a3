#!/usr/bin/env bash
# Installs what building and running the panel need, where missing, builds the program alone
# (no tests), and runs the panel: on your display, or under Xvfb when there is none, in which
# case it saves a screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
purposes=(build run)
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || purposes+=(screen)
scripts/install-deps.sh "${purposes[@]}"
# A new build tree leaves the tests out; one that has them keeps them (scripts/build.sh).
[ -f build/CMakeCache.txt ] || cmake --preset default -DMURMORA_BUILD_TESTS=OFF >/dev/null
cmake --build --preset default --target murmora mci-shell encoder_link
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/murmora
fi
exec scripts/screenshot.sh
