#!/usr/bin/env bash
# The sound server is killed while a file plays. The service goes on answering: the device
# reports "not ready" at once instead of "playing" (the program's Play waits for that), a second
# "play voice1" answers that the device was lost instead of hanging, "close" ends it, and once a
# server runs again the file plays. The file played is untouched.
. "$(dirname "$0")/../audio/real_audio_lib.sh"
own_server
runtime=$AUDIO_DIR
sox -q -n -r 44100 -c 2 -b 16 "$WORK/take.wav" synth 6 sine 440 vol 0.5
before=$(md5sum < "$WORK/take.wav")
open="open $WORK/take.wav type waveaudio alias voice1"
{
  printf '%s\n' "$open" "play voice1" "#sleep 1000" "status voice1 mode"
  sleep 1.5
  audio_kill
  sleep 0.5
  printf '%s\n' "status voice1 mode" "play voice1" "close voice1" "$open"
  sleep 1
  audio_start mic "$runtime" >/dev/null
  printf '%s\n' "$open" "play voice1" "#sleep 500" "status voice1 mode" "close voice1"
  sleep 2
  audio_stop >/dev/null # the server started in here
} | timeout 60 "$MCI_SHELL" > "$WORK/out" 2> "$WORK/err" || fail "mci-shell did not finish: $(cat "$WORK/out")"
tr '\t' ' ' < "$WORK/out" | paste -sd'|'
expect_reply "$WORK/out" 1 0
expect_reply "$WORK/out" 2 0
expect_reply "$WORK/out" 3 0 playing
expect_reply "$WORK/out" 4 0 "not ready"  # half a second after the kill
expect_reply "$WORK/out" 5 514            # the second play: the device was lost
expect_reply "$WORK/out" 6 0              # close
expect_reply "$WORK/out" 7 306            # no server: no output to open
expect_reply "$WORK/out" 8 0              # a server again
expect_reply "$WORK/out" 9 0
expect_reply "$WORK/out" 10 0 playing
[ "$(md5sum < "$WORK/take.wav")" = "$before" ] || fail "the file played was changed"
echo "PASS"
