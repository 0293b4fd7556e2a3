#!/usr/bin/env bash
# The real panel under Wine: a take of 3 s from the test run's 440 Hz microphone, from the record
# button's click to the Stop button's, saved under a name with blanks typed into the save dialog:
# the file holds the tone and lasts as long as the take ran, ± 0.1 s.
. "$(dirname "$0")/panel_lib.sh"
start_panel
[ "$PANEL_X,$PANEL_Y,$PANEL_WIDTH,$PANEL_HEIGHT" = "410,268,204,231" ] ||
  fail "the panel is at $PANEL_X,$PANEL_Y, $PANEL_WIDTH x $PANEL_HEIGHT, not at 410,268, 204 x 231"
timed_take 3
ran=$RAN
answer_dialog "Save Recorded File" "$WORK_WIN\\first take.wav"
expect_message "Recording saved as  $WORK_WIN\\first take.wav"
take="$WORK/first take.wav"
[ -f "$take" ] || fail "no take was saved"
assert_tone "$take" 440 2.9 || fail "the take does not hold the 440 Hz tone"
length=$(soxi -D "$take")
within "$length" "$(awk -v r="$ran" 'BEGIN { print r - 0.1 }')" "$(awk -v r="$ran" 'BEGIN { print r + 0.1 }')" ||
  fail "the take lasts $length s, not the $ran s it ran"
echo "$length s of 440 Hz in a take that ran $ran s"
finish
