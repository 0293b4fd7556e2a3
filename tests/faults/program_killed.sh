#!/usr/bin/env bash
# The program is killed with SIGKILL in the middle of a take. The take file it leaves in its
# take folder plays and holds the take up to about a second before the kill.
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
echo "PASS: $seconds s of about $recorded s recorded were left in ${takes[0]#$WORK/}"
