#!/usr/bin/env bash
# The sound server is killed 2 s into a take through the take engine over WASAPI: within 2 s the
# stream is lost, and the take holds what was recorded before the kill.
. "$(dirname "$0")/engine_lib.sh"
own_server
take="$WORK/kept.wav"
start_probe until-lost 20 "$(winpath "$take")"
read -r -t 30 said <&"$from_probe" || fail "the probe did not start its take"
[ "$said" = recording ] || fail "the probe said: $said"
sleep 2
audio_kill
killed=$(date +%s.%N)
read -r -t 10 said <&"$from_probe" || fail "the loss was not seen within 10 s"
told=$(seconds_between "$killed" "$(date +%s.%N)")
[ "$said" = lost ] || fail "the probe said: $said"
echo "lost $told s after the kill"
within "$told" 0 2 || fail "the loss was seen $told s after the kill, not within 2 s"
probe_end || fail "the take was not saved"
assert_tone "$take" 440 1.7 || fail "the take before the kill was not kept"
within "$(duration "$take")" 1.7 2.5 || fail "the take holds $(duration "$take") s, not the 2 s before the kill"
echo "PASS: kept $(duration "$take") s"
