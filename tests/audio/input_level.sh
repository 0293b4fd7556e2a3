#!/usr/bin/env bash
# "status capture level" on a real take: the microphone's 440 Hz tone reads as its peak, -6 dBFS
# (16384), and once the tone's feed stops, so that the microphone hears silence, as 0.
. "$(dirname "$0")/real_audio_lib.sh"
own_server
{
  printf '%s\n' "open new type waveaudio alias capture" "record capture" "#sleep 1000" "status capture level"
  sleep 1.5
  kill "$FEED_PID"
  sleep 0.5
  printf '%s\n' "#sleep 1000" "status capture level" "close capture"
} | timeout 60 "$MCI_SHELL" > "$WORK/out" || fail "mci-shell did not finish: $(cat "$WORK/out")"
cat "$WORK/out"
tone=$(reply "$WORK/out" 3 | cut -f2)
within "$tone" 15467 17358 || fail "the tone's level reads $tone, not -6 dBFS (16384) within 0.5 dB"
expect_reply "$WORK/out" 4 0 0
echo "PASS: the tone reads $tone, silence 0"
