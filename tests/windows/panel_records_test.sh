#!/usr/bin/env bash
# The real panel under Wine: record 3 s from the test run's 440 Hz microphone with the buttons,
# Stop, a name with blanks typed into the save dialog: the file holds the tone for about 3 s.
. "$(dirname "$0")/panel_lib.sh"
start_panel
[ "$PANEL_X,$PANEL_Y,$PANEL_WIDTH,$PANEL_HEIGHT" = "410,268,204,231" ] ||
  fail "the panel is at $PANEL_X,$PANEL_Y, $PANEL_WIDTH x $PANEL_HEIGHT, not at 410,268, 204 x 231"
record_take 3 "first take.wav"
take="$WORK/first take.wav"
wait_file "$take" || fail "no take was saved"
assert_tone "$take" 440 2.5 || fail "the take does not hold the 440 Hz tone"
length=$(soxi -D "$take")
awk -v l="$length" 'BEGIN { exit !(l >= 2.5 && l <= 4.5) }' || fail "the take lasts $length s, not about 3 s"
echo "$length s of 440 Hz"
finish
