#!/usr/bin/env bash
# A 2 s file played through the take engine over WASAPI plays to its end, and the stream reports
# that end, not a loss; the test run's output hears the tone.
. "$(dirname "$0")/engine_lib.sh"
need_server
sox -q -n -r 44100 -c 2 -b 16 "$WORK/tone.wav" synth 2 sine 440 vol 0.5
parec -d nullsink.monitor --file-format=wav "$WORK/heard.wav" &
listener=$!
cleanup_steps+=("kill $listener 2>/dev/null")
sleep 0.5
status=0
output=$(timeout 60 wine "$PROBE" play "$(winpath "$WORK/tone.wav")") || status=$?
echo "$output"
# After its verdict the probe only returns 0, yet Wine 8's sound driver may crash as the process
# ends (seen in CI after "ended"): a failed status counts only before the verdict.
if [ "$status" != 0 ]; then
  [[ $output == *"; ended" ]] || fail "the file was not played to its end (status $status): $output"
  echo "note: Wine ended the probe with status $status after it had reported the end"
fi
sleep 1 # the server plays out what it still holds
kill "$listener"; wait "$listener" 2>/dev/null || true
played=$(echo "$output" | sed -n 's/^played \([0-9.]*\) s.*ended$/\1/p')
[ -n "$played" ] || fail "the stream did not report its end"
# Wine's render clock runs at the pace of its timer, which a loaded machine slows.
within "$played" 1.95 4 || fail "the 2 s file played for $played s"
# On a loaded machine Wine's PulseAudio driver drops what it could not hand over in time (a
# second of the two, seen with the load at three times the cores, and more in CI): the test
# asks for a quarter.
sox "$WORK/heard.wav" "$WORK/sound.wav" silence 1 0.01 1% reverse silence 1 0.01 1% reverse
assert_tone "$WORK/sound.wav" 440 0.5 || fail "the output did not hear the tone"
echo "PASS: played for $played s"
