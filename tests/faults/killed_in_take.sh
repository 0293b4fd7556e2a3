#!/usr/bin/env bash
# mci-shell is killed with SIGKILL in the middle of a take. The take file it leaves in the take
# folder is a WAV that plays and holds the take up to about a second before the kill.
. "$(dirname "$0")/../audio/real_audio_lib.sh"
own_server
recorded=5
mkfifo "$WORK/commands"
timeout 60 "$MCI_SHELL" < "$WORK/commands" > "$WORK/out" 2>&1 &
shell_pid=$!
exec 3> "$WORK/commands"
printf '%s\n' "open new type waveaudio alias capture" "record capture" >&3
for _ in $(seq 50); do [ "$(wc -l < "$WORK/out")" -ge 2 ] && break; sleep 0.1; done
expect_reply "$WORK/out" 2 0
sleep $recorded
# timeout runs the shell as its child: kill the shell itself.
kill -KILL "$(pgrep -P "$shell_pid" -x mci-shell || echo "$shell_pid")"
wait "$shell_pid" 2>/dev/null || true
exec 3>&-
takes=("$TAKES"/*.wav)
[ ${#takes[@]} = 1 ] && [ -f "${takes[0]}" ] || fail "no single take file left behind: $(ls -la "$TAKES")"
seconds=$(duration "${takes[0]}") || fail "the take left behind is no sound file"
within "$seconds" $((recorded - 2)).5 $recorded.5 || fail "the take left behind holds $seconds s of $recorded s recorded"
assert_tone "${takes[0]}" 440 $((recorded - 2)).5 || fail "the take left behind does not hold the tone"
echo "PASS: $seconds s of $recorded s recorded were left in ${takes[0]#$WORK/}"
