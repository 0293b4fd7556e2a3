#!/usr/bin/env bash
# The real panel under Wine: a take of 3 s from the test run's 440 Hz microphone, from the record
# button's click to the Stop button's, saved under a name with blanks typed into the save dialog:
# the file holds the tone and lasts as long as the take ran, ± 0.1 s. The panel is started from
# another folder, and the first save dialog opens in the user's Documents all the same.
. "$(dirname "$0")/panel_lib.sh"
cd "$WORK"
start_panel
[ "$PANEL_X,$PANEL_Y,$PANEL_WIDTH,$PANEL_HEIGHT" = "410,268,204,231" ] ||
  fail "the panel is at $PANEL_X,$PANEL_Y, $PANEL_WIDTH x $PANEL_HEIGHT, not at 410,268, 204 x 231"
timed_take 3
ran=$RAN
answer_dialog "Save Recorded File" "first take.wav"
documents=$(wine cmd /c 'echo %USERPROFILE%\Documents' 2>/dev/null | tr -d '\r')
expect_message "Recording saved as  $documents\\first take.wav"
take=$(winepath -u "$documents\\first take.wav" 2>/dev/null)
[ -f "$take" ] || fail "no take was saved"
assert_tone "$take" 440 2.9 || fail "the take does not hold the 440 Hz tone"
length=$(soxi -D "$take")
within "$length" "$(awk -v r="$ran" 'BEGIN { print r - 0.1 }')" "$(awk -v r="$ran" 'BEGIN { print r + 0.1 }')" ||
  fail "the take lasts $length s, not the $ran s it ran"
echo "$length s of 440 Hz in a take that ran $ran s, in $documents"
rm -f "$take"
finish
