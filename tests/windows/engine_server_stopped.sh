#!/usr/bin/env bash
# The sound server is stopped (SIGSTOP) during a take through the take engine over WASAPI: every
# call the panel would make (stop the take, open a file to play, open a new take, end the take)
# answers within 150 ms; once the server goes on, the next take works.
. "$(dirname "$0")/engine_lib.sh"
own_server
sox -q -n -r 44100 -c 2 -b 16 "$WORK/tone.wav" synth 1 sine 440 vol 0.5
start_probe stalled "$(winpath "$WORK/tone.wav")"
read -r -t 30 said <&"$from_probe" || fail "the probe did not start its take"
[ "$said" = recording ] || fail "the probe said: $said"
sleep 1
audio_pause
cleanup_steps+=("audio_resume")
echo go >&"$to_probe"
answers=()
while read -r -t 20 said <&"$from_probe" && [ "$said" != done ]; do answers+=("$said"); done
audio_resume
printf '%s\n' "${answers[@]}"
[ ${#answers[@]} = 4 ] || fail "the probe answered ${#answers[@]} calls of 4"
for answer in "${answers[@]}"; do
  ms=$(echo "$answer" | sed -n 's/^[a-z]* \([0-9]*\) ms:.*/\1/p')
  [ -n "$ms" ] && [ "$ms" -le 150 ] || fail "a call kept its caller too long: $answer"
done
probe_end || fail "the probe failed"
sleep 0.5
output=$(timeout 60 wine "$PROBE" record 1 "$(winpath "$WORK/next.wav")") || fail "the next take failed: $output"
assert_tone "$WORK/next.wav" 440 0.9 || fail "the next take does not hold the tone"
echo "PASS"
