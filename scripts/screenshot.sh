#!/usr/bin/env bash
# Runs build/murmora on a private Xvfb screen, saves a screenshot of that screen and says where.
#   scripts/screenshot.sh              the panel alone
#   scripts/screenshot.sh --schedule   also presses the schedule button and saves the schedule window
# SCREENSHOT_DIR chooses the folder (default build/screenshots), MURMORA_PROGRAM another build.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${MURMORA_PROGRAM:-build/murmora}
out=${SCREENSHOT_DIR:-build/screenshots}
with_schedule=false
[ "${1:-}" = "--schedule" ] && with_schedule=true
[ -x "$program" ] || { echo "screenshot: $program is missing; build first (scripts/build.sh)" >&2; exit 1; }
mkdir -p "$out"

work=$(mktemp -d)
chmod 700 "$work"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "screenshot: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export XDG_RUNTIME_DIR="$work"
# A home and take folder of its own: the screenshot shows the panel as it first starts.
export HOME="$work" XDG_CACHE_HOME="$work/cache"
export QT_QPA_PLATFORM=xcb

"$program" >"$work/murmora.log" 2>&1 &
pids+=($!)
if ! timeout 15 xdotool search --sync --onlyvisible --name '^Murmora$' >/dev/null; then
    echo "screenshot: the panel did not appear" >&2
    cat "$work/murmora.log" >&2
    exit 1
fi
sleep 0.5  # the first paint
import -window root "$out/panel.png"
echo "Screenshot of the panel saved as $out/panel.png"

if $with_schedule; then
    # The schedule button's centre: window at 410, 268, button at 104, 155, 55 x 55.
    xdotool mousemove $((410 + 104 + 27)) $((268 + 155 + 27)) click 1
    if ! timeout 15 xdotool search --sync --onlyvisible --name '^Murmora - Record Panel$' >/dev/null; then
        echo "screenshot: the schedule window did not appear" >&2
        exit 1
    fi
    sleep 0.5
    import -window root "$out/schedule.png"
    echo "Screenshot of the schedule window saved as $out/schedule.png"
fi
