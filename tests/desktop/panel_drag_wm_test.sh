#!/usr/bin/env bash
# Dragging the panel under a window manager (openbox, run on the test run's X server for the
# length of this test): a drag from a free spot with the left, the right or the middle button
# moves the panel by the distance dragged, and once the button is let go the panel stays where
# it is however the pointer moves on.
# Usage: panel_drag_wm_test.sh PROGRAM
set -euo pipefail

app=$1
. "$(dirname "$0")/scratch_lib.sh"
. "$(dirname "$0")/x_windows_lib.sh"
fail() { echo "FAIL: $*"; sed 's/^/  murmora: /' "$work/murmora.log" 2>/dev/null; exit 1; }
need_x_server_and openbox xdotool xprop xwininfo
[ -x "$app" ] || fail "no program at $app"
start_openbox "$work"

XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb "$app" >"$work/murmora.log" 2>&1 &
pids+=($!)
panel=$(timeout 15 xdotool search --sync --onlyvisible --name '^Murmora$' | head -n1) || fail "the panel did not appear"
sleep 0.5

origin() { # "X Y" of the panel's top-left corner on the screen
    eval "$(xdotool getwindowgeometry --shell "$panel")"
    echo "$X $Y"
}

# Presses BUTTON at the free spot (200, 133), moves by (DX, DY) in steps, releases, then moves
# the pointer on by (50, 50) with no button held.
drag() { # BUTTON DX DY
    local button=$1 dx=$2 dy=$3 x y step
    read -r x y < <(origin)
    x=$((x + 200)) y=$((y + 133))
    xdotool mousemove "$x" "$y" mousedown "$button"
    for step in 1 2 3 4 5; do
        sleep 0.1
        xdotool mousemove $((x + dx * step / 5)) $((y + dy * step / 5))
    done
    sleep 0.2
    xdotool mouseup "$button"
    sleep 0.3
    xdotool mousemove $((x + dx + 50)) $((y + dy + 50))
    sleep 0.3
    xdotool mousemove $((x + dx + 90)) $((y + dy - 40))
    sleep 0.4
}

for case in "1 -150 -100 left" "3 150 100 right" "2 -120 60 middle"; do
    read -r button dx dy name <<<"$case"
    echo "== a $name-button drag"
    read -r left top < <(origin)
    drag "$button" "$dx" "$dy"
    [ "$(origin)" = "$((left + dx)) $((top + dy))" ] ||
        fail "after a $name-button drag by ($dx, $dy) from $left, $top the panel is at $(origin)"
done
echo "PASS"
