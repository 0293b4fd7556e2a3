#!/usr/bin/env bash
# Kills the sound server in the middle of a take: the take so far must stay, and save.
. "$(dirname "$0")/real_audio_lib.sh"
own_server
take="$WORK/kept.wav"
{
  printf '%s\n' "open new type waveaudio alias capture" "record capture"
  sleep 2
  kill -KILL "$PULSE_PID"
  sleep 1
  printf '%s\n' "stop capture" "save capture $take" "close capture"
} | timeout 60 "$MCI_SHELL" > "$WORK/out" || fail "mci-shell did not finish: $(cat "$WORK/out")"
cat "$WORK/out"
expect_reply "$WORK/out" 1 0
expect_reply "$WORK/out" 2 0
expect_reply "$WORK/out" 4 0
assert_tone "$take" 440 1.5 || fail "the take before the server died was not kept"
no_takes_left
echo "PASS: kept $(duration "$take") s"
