#!/usr/bin/env bash
# The panel under a bare X server (Xvfb, no window manager), driven with the mouse by xdotool,
# with another program's window (xev) lying under it that reports every click it receives:
#   - it appears at 410, 268 with its 204 x 231 client area;
#   - a click at (1, 1) or (2, 1) of the panel, outside its outline, reaches the window beneath;
#   - a click at (200, 133), on the disc, does not: the panel takes it, and a drag from there
#     moves the panel by exactly the distance dragged, with the left and with the right button;
#   - a drag that starts on the record button does not move it;
#   - pressing Close and releasing the button off it leaves the program running;
#   - pressing and releasing on Close ends the program.
# Usage: panel_mouse_test.sh PROGRAM
set -euo pipefail

app=$1
. "$(dirname "$0")/scratch_lib.sh"
fail() { echo "FAIL: $*"; sed 's/^/  murmora: /' "$work/murmora.log" 2>/dev/null; exit 1; }
need_x_server_and xdotool xev
[ -x "$app" ] || fail "no program at $app"

# Another program's window under the whole panel (410, 268, 204 x 231), reporting clicks.
xev -geometry 300x300+380+240 -name Beneath -event button >"$work/xev.log" 2>&1 &
pids+=($!)
beneath=$(timeout 15 xdotool search --sync --onlyvisible --name '^Beneath$' | head -n1) ||
    fail "the window beneath did not appear"

XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb "$app" >"$work/murmora.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
panel=$(timeout 15 xdotool search --sync --onlyvisible --name '^Murmora$' | head -n1) || fail "the panel did not appear"
sleep 0.5 # mapped and shaped

origin() { # "X Y" of the panel's top-left corner on the screen
    eval "$(xdotool getwindowgeometry --shell "$panel")"
    echo "$X $Y"
}
read -r left top < <(origin)
[ "$left $top" = "410 268" ] || fail "the panel starts at $left, $top, not at 410, 268"
eval "$(xdotool getwindowgeometry --shell "$panel")"
[ "$WIDTH $HEIGHT" = "204 231" ] || fail "the client area is $WIDTH x $HEIGHT, not 204 x 231"

# Whether the window beneath has reported a press of button $1 at the screen point ($2, $3).
beneath_got_press() {
    local i
    for i in $(seq 20); do
        awk -v at="root:($2,$3)," -v which="button $1," '
            /^ButtonPress/ { press = 1; where = ""; next }
            press && index($0, "root:(") { where = $0 }
            press && index($0, "same_screen") {
                if (index(where, at) && index($0, which)) found = 1
                press = 0 }
            END { exit !found }' "$work/xev.log" && return 0
        sleep 0.1
    done
    return 1
}

click_at() { # BUTTON X Y (window point of the panel)
    xdotool mousemove $((left + $2)) $((top + $3))
    sleep 0.1
    xdotool click "$1"
    sleep 0.3
}

echo "== a click at (1, 1), outside the outline, reaches the window beneath"
click_at 1 1 1
beneath_got_press 1 $((left + 1)) $((top + 1)) || fail "the window beneath got no click at (1, 1): $(cat "$work/xev.log")"
click_at 3 1 1
beneath_got_press 3 $((left + 1)) $((top + 1)) || fail "the window beneath got no right click at (1, 1)"

echo "== the rounded corner at (2, 1) lets clicks through too"
click_at 1 2 1
beneath_got_press 1 $((left + 2)) $((top + 1)) || fail "the window beneath got no click at (2, 1)"

echo "== a click at (200, 133), on the disc, reaches the panel"
click_at 1 200 133
! beneath_got_press 1 $((left + 200)) $((top + 133)) || fail "the click at (200, 133) went through the panel"
[ "$(origin)" = "$left $top" ] || fail "a click without a move moved the panel to $(origin)"

# Presses button $1 at panel point ($2, $3), moves by ($4, $5) in steps, releases.
drag() {
    local button=$1 x=$2 y=$3 dx=$4 dy=$5 step
    xdotool mousemove $((left + x)) $((top + y)) mousedown "$button"
    for step in 1 2 3 4 5; do
        sleep 0.1
        xdotool mousemove $((left + x + dx * step / 5)) $((top + y + dy * step / 5))
    done
    sleep 0.2
    xdotool mouseup "$button"
    sleep 0.4
}

echo "== a drag from the free spot (200, 133) moves the panel"
drag 1 200 133 -150 -100
[ "$(origin)" = "$((left - 150)) $((top - 100))" ] ||
    fail "after a left-button drag by (-150, -100) the panel is at $(origin), not $((left - 150)) $((top - 100))"
read -r left top < <(origin)
drag 3 200 133 150 100
[ "$(origin)" = "$((left + 150)) $((top + 100))" ] ||
    fail "after a right-button drag by (150, 100) the panel is at $(origin)"
read -r left top < <(origin)
! beneath_got_press 1 $((left + 200)) $((top + 133)) || fail "a drag press went through the panel"

echo "== a drag that starts on the record button does not move the panel"
drag 1 60 15 50 50
[ "$(origin)" = "$left $top" ] || fail "a drag from the record button moved the panel to $(origin)"

echo "== Close pressed, released off the button: the program goes on"
xdotool mousemove $((left + 148)) $((top + 20)) mousedown 1
for y in 30 45 60 80; do sleep 0.1; xdotool mousemove $((left + 148)) $((top + y)); done
sleep 0.2
xdotool mouseup 1
sleep 2
kill -0 "$app_pid" 2>/dev/null || fail "the program ended on a release off the Close button"
xdotool search --onlyvisible --name '^Murmora$' | grep -qx "$panel" || fail "the panel went away"
[ "$(origin)" = "$left $top" ] || fail "a press on Close moved the panel to $(origin)"

echo "== Close pressed and released on the button: the program ends"
click_at 1 148 20
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program still runs 10 s after Close"
status=0
wait "$app_pid" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status after Close"
sleep 0.3
! xdotool search --onlyvisible --name '^Murmora' >/dev/null 2>&1 || fail "a window of the program is still shown"
echo "PASS"
