#!/usr/bin/env bash
# A 3 s take through the take engine over WASAPI, from the test run's 440 Hz microphone, lasts
# 3 s (± 0.1 s around the time it was recording, as its clock saw it) and holds the tone.
. "$(dirname "$0")/engine_lib.sh"
need_server
take="$WORK/a take.wav"
output=$(timeout 60 wine "$PROBE" record 3 "$(winpath "$take")") || fail "the take was not recorded and saved: $output"
echo "$output"
read -r shortest longest < <(echo "$output" | sed -n 's/^held between \([0-9.]*\) and \([0-9.]*\) s.*/\1 \2/p')
[ -n "$longest" ] || fail "the probe did not say how long it held the take"
assert_tone "$take" 440 2.9 || fail "the take does not hold the 440 Hz tone"
length=$(duration "$take")
within "$length" "$(awk -v s="$shortest" 'BEGIN { print s - 0.1 }')" "$(awk -v l="$longest" 'BEGIN { print l + 0.1 }')" ||
  fail "the take lasts $length s, not the $shortest to $longest s it was recording"
[ "$(soxi -r "$take")" = 44100 ] && [ "$(soxi -c "$take")" = 2 ] && [ "$(soxi -b "$take")" = 16 ] ||
  fail "the take is not 44,100 Hz 16-bit stereo"
[ -z "$(ls -A "$WORK/probe-takes")" ] || fail "take files left behind: $(ls "$WORK/probe-takes")"
echo "PASS: $length s of 440 Hz"
