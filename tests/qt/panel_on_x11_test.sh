#!/usr/bin/env bash
# The panel on the X display of the test run (Xvfb, no window manager), driven by xdotool:
#   - it appears at 410, 268 with its 204 x 231 client area;
#   - its outline lets the pointer through outside the rounded panel and the disc;
#   - a press on a free spot drags it, with the left and with the right button;
#   - a press on the record button does not drag it.
# Usage: panel_on_x11_test.sh PROGRAM
set -euo pipefail

app=$1
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no DISPLAY"; exit 1; }
[ -x "$app" ] || { echo "FAIL: no program at $app"; exit 1; }

work=$(mktemp -d)
chmod 700 "$work"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/murmora.log" 2>/dev/null; exit 1; }

XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb "$app" >"$work/murmora.log" 2>&1 &
pids+=($!)
panel=$(timeout 15 xdotool search --sync --onlyvisible --name '^Murmora$' | head -n1) || fail "the panel did not appear"

position() { # prints "X Y" of the panel
    eval "$(xdotool getwindowgeometry --shell "$panel")"
    echo "$X $Y"
}
size() {
    eval "$(xdotool getwindowgeometry --shell "$panel")"
    echo "$WIDTH $HEIGHT"
}
# The top-level window under the screen point, as xdotool names it.
window_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.2
    eval "$(xdotool getmouselocation --shell)"
    echo "$WINDOW"
}
# Presses button $1 at window point ($2, $3) and drags by ($4, $5) in steps.
drag() {
    local button=$1 x=$2 y=$3 dx=$4 dy=$5 left top step
    read -r left top < <(position)
    xdotool mousemove $((left + x)) $((top + y)) mousedown "$button"
    for step in 1 2 3 4; do
        sleep 0.05
        xdotool mousemove $((left + x + dx * step / 4)) $((top + y + dy * step / 4))
    done
    sleep 0.1
    xdotool mouseup "$button"
    sleep 0.3
}
expect_position() {
    local got
    got=$(position)
    [ "$got" = "$1" ] || fail "$2: panel at $got, expected $1"
}

sleep 0.5
expect_position "410 268" "start"
[ "$(size)" = "204 231" ] || fail "client area $(size), expected 204 231"

[ "$(window_at 411 269)" != "$panel" ] || fail "the point (1, 1) outside the outline belongs to the panel"
[ "$(window_at 412 269)" != "$panel" ] || fail "the rounded corner (2, 1) belongs to the panel"
[ "$(window_at 610 401)" = "$panel" ] || fail "the point (200, 133) on the disc is not the panel's"

drag 1 80 200 60 40
expect_position "470 308" "left-button drag from a free spot"
drag 3 80 200 -60 -40
expect_position "410 268" "right-button drag from a free spot"
drag 1 60 15 50 50
expect_position "410 268" "a press on the record button"

echo "PASS"
