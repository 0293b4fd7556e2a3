#!/usr/bin/env bash
# The program is killed with SIGKILL in the middle of a take. The take file it leaves in its
# take folder plays and holds the take up to about a second before the kill. The next start
# moves it to the home folder under a name that says when, and says where it went.
. "$(dirname "$0")/program_faults_lib.sh"
server_start
start_app
recorded=5
record_button
sleep $recorded
kill -KILL "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
takes=("$TAKES"/*.wav)
[ ${#takes[@]} = 1 ] && [ -f "${takes[0]}" ] || fail "no single take file left behind: $(ls -la "$TAKES" 2>&1)"
seconds=$(soxi -D "${takes[0]}") || fail "the take left behind is no sound file"
awk -v s="$seconds" -v r=$recorded 'BEGIN { exit !(s >= r - 2.5 && s <= r + 0.5) }' ||
  fail "the take left behind holds $seconds s of about $recorded s recorded"
expect_take "${takes[0]}" $((recorded - 3)).5
echo "$seconds s of about $recorded s recorded were left in ${takes[0]#$WORK/}"

echo "== the next start"
recovered="$HOME/Murmora take $(date -r "${takes[0]}" '+%Y-%m-%d %H-%M-%S').wav"
"$APP" >> "$WORK/murmora.log" 2>&1 &
APP_PID=$!
pids+=("$APP_PID")
# The panel shows first; the box follows once it is on screen.
PANEL=$(wait_for_window "^Murmora$") || fail "the panel did not show"
[ "$(xdotool getwindowgeometry "$PANEL" | awk '/Geometry/ {print $2}')" = 204x231 ] ||
  fail "the box came before the panel"
expect_box warning "Murmora ended during a recording.

What was recorded until then is kept as  $recovered"
[ -z "$(ls -A "$TAKES")" ] || fail "the take is still in the take folder: $(ls -A "$TAKES")"
expect_take "$recovered" $((recorded - 3)).5
close_app
echo "PASS"
