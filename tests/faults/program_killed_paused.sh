#!/usr/bin/env bash
# The program is killed with SIGKILL while its take is paused. The take file it leaves holds all
# that was recorded before the pause (its header took the last frames in when the pause began),
# and nothing of the pause.
. "$(dirname "$0")/program_faults_lib.sh"
server_start
start_app
record_button
sleep 3
record_button # the pause, 3.4 s after the first click (each click takes 0.4 s)
sleep 2.5
kill -KILL "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
takes=("$TAKES"/*.wav)
[ ${#takes[@]} = 1 ] && [ -f "${takes[0]}" ] || fail "no single take file left behind: $(ls -la "$TAKES" 2>&1)"
seconds=$(soxi -D "${takes[0]}") || fail "the take left behind is no sound file"
within "$seconds" 3.2 3.8 || fail "the take left behind holds $seconds s of the 3.4 s recorded before the pause"
expect_take "${takes[0]}" 3.2
echo "PASS: $seconds s of the 3.4 s before the pause were left in ${takes[0]#$WORK/}"
