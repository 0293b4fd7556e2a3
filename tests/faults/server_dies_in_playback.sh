#!/usr/bin/env bash
# The sound server is killed while a file plays. The service goes on answering, the device
# stops reporting "playing" instead of playing for ever (the program's Play waits for that),
# "close" ends it, and the file played is untouched.
. "$(dirname "$0")/../audio/real_audio_lib.sh"
own_server
sox -q -n -r 44100 -c 2 -b 16 "$WORK/take.wav" synth 6 sine 440 vol 0.5
before=$(md5sum < "$WORK/take.wav")
{
  printf '%s\n' "open $WORK/take.wav type waveaudio alias voice1" "play voice1" "#sleep 1000" "status voice1 mode"
  sleep 1.5
  kill -KILL "$PULSE_PID"
  wait "$PULSE_PID" 2>/dev/null || true
  PULSE_PID=
  # Ten answers over the next ten seconds: the device must have stopped before the file's end.
  for _ in $(seq 10); do printf '%s\n' "#sleep 1000" "status voice1 mode"; done
  printf '%s\n' "close voice1" "open $WORK/take.wav type waveaudio alias voice1" "close voice1"
} | timeout 60 "$MCI_SHELL" > "$WORK/out" 2> "$WORK/err" || fail "mci-shell did not finish: $(cat "$WORK/out")"
tr '\t' ' ' < "$WORK/out" | paste -sd'|'
expect_reply "$WORK/out" 1 0
expect_reply "$WORK/out" 2 0
expect_reply "$WORK/out" 3 0 playing
expect_reply "$WORK/out" 13 0 stopped   # 10 s after the kill; the file would have ended 6 s in
expect_reply "$WORK/out" 14 0           # close
code=$(reply "$WORK/out" 15 | cut -f1)   # without a server the file cannot be opened for playing
[ "$code" = 306 ] || fail "opening the file with no server answered $code, not 306"
stopped_after=$(awk -F'\t' 'NR >= 4 && NR <= 13 && $2 == "stopped" { print NR - 3; exit }' "$WORK/out")
[ "$(md5sum < "$WORK/take.wav")" = "$before" ] || fail "the file played was changed"
echo "PASS: the device reported stopped ${stopped_after:-?} s after the server was killed"
