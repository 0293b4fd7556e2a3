#!/usr/bin/env bash
# A take paused and resumed three times through mci-shell: the mode says "paused" meanwhile, the
# file holds the four seconds recorded outside the pauses and none of the three paused, and the
# tone runs through every join with no stretch of silence.
. "$(dirname "$0")/real_audio_lib.sh"
need_server
take="$WORK/paused take.wav"
{
  printf '%s\n' "open new type waveaudio alias capture" "record capture" "#sleep 1000"
  for _ in 1 2 3; do
    printf '%s\n' "pause capture" "status capture mode" "#sleep 1000" "resume capture" "#sleep 1000"
  done
  printf '%s\n' "stop capture" "save capture $take" "close capture"
} | timeout 60 "$MCI_SHELL" > "$WORK/out"
cat "$WORK/out"
for line in 1 2 3 5 6 8 9 11 12 13 14; do expect_reply "$WORK/out" $line 0; done
for line in 4 7 10; do expect_reply "$WORK/out" $line 0 paused; done
assert_tone "$take" 440 3.9 || fail "the take does not hold the 440 Hz tone"
length=$(duration "$take")
within "$length" 3.9 4.15 || fail "the take lasts $length s, not the 4 s recorded outside the pauses"
# The peak of every 10 ms of the take: the tone (about half of full scale) is in each of them.
quietest=$(sox "$take" -t raw -e signed -b 16 -c 1 - remix 1 | /usr/bin/python3 -c '
import sys, array
samples = array.array("h", sys.stdin.buffer.read())
window = 441
peaks = [max(abs(s) for s in samples[i:i + window]) for i in range(0, len(samples) - window + 1, window)]
print(min(peaks) / 32768)')
awk -v q="$quietest" 'BEGIN { exit !(q > 0.3) }' || fail "a stretch of the take is silent (peak $quietest): a gap at a join"
no_takes_left
echo "PASS: $length s of 440 Hz, the quietest 10 ms at $quietest of full scale"
