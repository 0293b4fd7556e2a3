#!/usr/bin/env bash
# Started with no display at all (no DISPLAY, no WAYLAND_DISPLAY, no platform chosen), the
# program says in plain words that it needs a graphical session and how to get one, and ends
# with status 1 instead of aborting.
# Usage: no_display_test.sh PROGRAM
set -uo pipefail
output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$1" 2>&1 >/dev/null)
status=$?
echo "$output"
[ "$status" = 1 ] || { echo "FAIL: ended with status $status, not 1"; exit 1; }
grep -q "graphical session" <<<"$output" && grep -q "scripts/run.sh" <<<"$output" ||
    { echo "FAIL: the message does not name the graphical session and scripts/run.sh"; exit 1; }
echo "PASS"
