#!/usr/bin/env bash
# The real panel under Wine worked with the keyboard, and read and pressed through MSAA from
# another program as a screen reader does (msaa_probe.exe):
#   - the panel's client holds the seven buttons by name, the record button "Record", then the
#     display: during a take its seconds and the level read in dBFS;
#   - Tab goes round them in reading order from Record;
#   - Space on Record starts a take; Tab to Stop Recording and Space stops it, and the save
#     dialog and the message take the keyboard: the take holds the tone;
#   - the default action of "Record" and of "Stop Recording" record and save a take;
#   - Space on Set Recording Schedule opens the schedule window, and Escape closes it;
#   - Tab to Close and Enter ends the program.
. "$(dirname "$0")/panel_lib.sh"
PROBE="wine $(dirname "$MURMORA_EXE")/msaa_probe.exe"
start_panel
key() { xdotool key --delay 150 "$@"; sleep 0.3; }
focused() { $PROBE focused 2>/dev/null | tr -d '\r'; }

echo "== screen readers read the seven buttons"
names=$($PROBE names | tr -d '\r') || fail "the panel cannot be read through MSAA"
[ "$(echo "$names" | head -7)" = "Minimize
Record
Close
Stop Recording
Convert Wav To mp3
Play File
Set Recording Schedule" ] || fail "the panel's buttons read: $(echo "$names" | tr '\n' ',')"

echo "== Tab goes round them from Record"
[ "$(focused)" = Record ] || fail "the panel shows with the focus on \"$(focused)\""
for button in Close "Stop Recording" "Convert Wav To mp3" "Play File" "Set Recording Schedule" Minimize Record; do
  key Tab
  [ "$(focused)" = "$button" ] || fail "Tab went to \"$(focused)\", not to \"$button\""
done

echo "== Space on Record records; Space on Stop Recording stops and saves"
key space
sleep 3
echo "== and the display, during the take"
display=$($PROBE names | tr -d '\r' | tail -n +8 | tr '\n' '|')
[[ $display =~ ^[0-9]+\ sec\|.*\|Input\ level\|$ ]] || fail "the display reads: $display"
level=$($PROBE value "Input level" | tr -d '\r')
[[ $level =~ ^-[0-9]+\ dBFS$ ]] || fail "the level reads \"$level\""
key Tab Tab space
answer_dialog "Save Recorded File" "$WORK_WIN\\keys.wav"
close_message_box # "Recording saved as  ..."
wait_file "$WORK/keys.wav" || fail "no take was saved"
assert_tone "$WORK/keys.wav" 440 2 || fail "the take does not hold the tone"
[ "$(focused)" = "Stop Recording" ] || fail "after the save the focus is on \"$(focused)\""

echo "== the default actions of Record and Stop Recording record and save"
$PROBE press Record || fail "no default action on Record"
sleep 3
$PROBE press "Stop Recording" || fail "no default action on Stop Recording"
answer_dialog "Save Recorded File" "$WORK_WIN\\pressed.wav"
close_message_box
wait_file "$WORK/pressed.wav" || fail "no take was saved"
assert_tone "$WORK/pressed.wav" 440 2 || fail "the take does not hold the tone"

echo "== Set Recording Schedule opens the schedule window, which Escape closes"
key Tab Tab Tab
[ "$(focused)" = "Set Recording Schedule" ] || fail "three Tabs went to \"$(focused)\""
key space
schedule=$(wait_for_window '^Murmora - Record Panel$') || fail "no schedule window after Space"
key Up Escape
wait_gone "$schedule" || fail "Escape did not close the schedule window"
[ "$(focused)" = "Set Recording Schedule" ] || fail "after the schedule window the focus is on \"$(focused)\""

echo "== Tab to Close and Enter ends the program"
key Tab Tab Tab
[ "$(focused)" = Close ] || fail "Tab went to \"$(focused)\", not to Close"
key Return
for _ in $(seq 50); do kill -0 "$PANEL_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$PANEL_PID" 2>/dev/null && fail "the program still runs after Enter on Close"
PANEL_PID=
finish
