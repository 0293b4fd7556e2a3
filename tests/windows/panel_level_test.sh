#!/usr/bin/env bash
# The real panel under Wine: the input level of a take of the 440 Hz microphone (-6 dBFS peak) is
# a bar as long as on Linux, 45 of the scale's 50 pixels (-60 to 0 dBFS), within 3 dB; once the
# microphone's feed stops, the note about a silent input covers the lower display after 5 s of
# silence (5 to 6 s, seen within 7.5 s at the screenshots' pace), and the take records on.
. "$(dirname "$0")/panel_lib.sh"
own_server
start_panel

. "$(dirname "$0")/../desktop/level_display_lib.sh"
# ink_pixels WIDTHxHEIGHT+X+Y: pixels of the panel's area that are ink, in a screenshot taken now.
ink_pixels() {
  import -window root "$WORK/shot.png"
  convert "$WORK/shot.png" -crop "$(echo "$1" | awk -F'[x+]' -v x="$PANEL_X" -v y="$PANEL_Y" \
    '{ printf "%sx%s+%d+%d", $1, $2, $3 + x, $4 + y }')" +repage txt:- | grep -c "$LEVEL_INK" || true
}

echo "== the bar shows the tone at -6 dBFS"
expect_no_bar
click_record
sleep 1
expect_tone_bar windows-level-tone.png

echo "== the feed stops: the note comes after 5 s of silence"
expect_silence_note windows-level-silent.png

echo "== the take records on"
click_stop
answer_dialog "Save Recorded File" "$WORK_WIN\\silent.wav"
expect_message "Recording saved as  $WORK_WIN\\silent.wav"
length=$(soxi -D "$WORK/silent.wav")
within "$length" "$(awk -v a="$NOTE_AFTER" 'BEGIN { print a + 1 }')" 30 || fail "the take holds $length s, not on past the note"
[ "$(ink_pixels $SILENCE_NOTE)" -lt 2000 ] || fail "the note stays after the take"
echo "PASS: a bar of $BAR_PIXELS pixels; the note after $NOTE_AFTER s"
finish
