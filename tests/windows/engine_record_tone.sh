#!/usr/bin/env bash
# A 3 s take through the take engine over WASAPI, from the test run's 440 Hz microphone, lasts
# 3 s (± 0.1 s around the time it was recording, as its clock saw it) and holds the tone.
. "$(dirname "$0")/engine_lib.sh"
need_server
take="$WORK/a take.wav"
output=$(timeout 60 wine "$PROBE" record 3 "$(winpath "$take")") || fail "the take was not recorded and saved: $output"
echo "$output"
expect_held_take "$output" "$take"
[ -z "$(ls -A "$WORK/probe-takes")" ] || fail "take files left behind: $(ls "$WORK/probe-takes")"
echo "PASS: $(duration "$take") s of 440 Hz"
