#!/usr/bin/env bash
# Installs what is missing, builds, and runs the panel: on your display, or under Xvfb when
# there is none, in which case it saves a screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/murmora
fi
exec scripts/screenshot.sh
