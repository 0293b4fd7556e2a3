#!/usr/bin/env bash
# The panel as a screen reader finds and works it over the accessibility bus:
#   - the application "Murmora" is there, with the panel's seven picture buttons as push
#     buttons named as their tooltips say, the record button "Record";
#   - Press on "Record" starts a take: the program records from the sound server, and the
#     record button reads "recording" and pressed; the level bar reads the tone's peak in dBFS;
#   - when the microphone falls silent, the note that says so is announced as it shows;
#   - Press on "Stop Recording" opens the save dialog; cancelled, the take is not saved and the
#     record button reads as before the take, with no description (not its tooltip, which a
#     screen reader would read at every focus);
#   - Press on "Close" ends the program.
# Usage: screen_reader_test.sh PROGRAM MESSAGE_BOX_REFERENCE AUDIO_ENV
. "$(dirname "$0")/a11y_lib.sh"
start_app

echo "== the application \"Murmora\" and its push buttons"
buttons=$($PROBE buttons) || fail "the panel cannot be read over the accessibility bus"
expected="Minimize
Record
Close
Stop Recording
Convert Wav To mp3
Play File
Set Recording Schedule"
[ "$buttons" = "$expected" ] || fail "the panel's push buttons are: $(echo "$buttons" | tr '\n' ',')"

echo "== Press on \"Record\" starts a take"
[ "$(recordings)" = 0 ] || fail "the program records before any take"
$PROBE press Record || fail "no Press on Record"
expect_recordings 1 "Press on \"Record\""
record=$($PROBE show Record)
[[ "$record" == "push button|Record|recording|"*pressed* ]] || fail "during the take the record button reads: $record"
sleep 0.5
level=$($PROBE show "Input level")
[[ "$level" == "progress bar|Input level|"*showing* ]] || fail "the level bar reads: $level"
value=$($PROBE value "Input level") || fail "the level bar has no value"
[ "$value" -ge -9 ] && [ "$value" -le -3 ] || fail "the level bar reads $value dBFS, not the tone's -6 dBFS"

echo "== the silent input is announced"
# It names the input by the description the sound server gives the test microphone.
note="TestMic is silent: check that it is on and not muted."
$PROBE announced "$note" 12 >"$WORK/announced" 2>&1 &
listener=$!
sleep 0.5 # listening
kill "$FEED_PID"
wait "$listener" || fail "$(cat "$WORK/announced")"
[[ "$(cat "$WORK/announced")" == "notification|$note|"* ]] || fail "announced: $(cat "$WORK/announced")"

echo "== Press on \"Stop Recording\" opens the save dialog"
$PROBE press "Stop Recording" || fail "no Press on Stop Recording"
wait_for_window "^Save Recorded File$" "$PANEL" >/dev/null || fail "no save dialog after Press on \"Stop Recording\""
$PROBE window "Save Recorded File" || fail "the save dialog is not on the accessibility bus"
cancel_save_dialog
expect_box warning "Recording Not Saved"
expect_recordings 0 "the cancelled save"
record=$($PROBE show Record)
[[ "$record" == "push button|Record||"* && "$record" != *pressed* ]] ||
  fail "after the take the record button reads: $record"

echo "== Press on \"Close\" ends the program"
$PROBE press Close || fail "no Press on Close"
expect_end "Press on \"Close\""
echo "PASS"
