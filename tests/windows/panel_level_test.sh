#!/usr/bin/env bash
# The real panel under Wine: the input level of a take of the 440 Hz microphone (-6 dBFS peak) is
# a bar as long as on Linux, 45 of the scale's 50 pixels (-60 to 0 dBFS), within 3 dB; once the
# microphone's feed stops, the note about a silent input covers the lower display after 5 s of
# silence (5 to 6 s, seen within 7.5 s at the screenshots' pace), and the take records on.
. "$(dirname "$0")/panel_lib.sh"
own_server
start_panel

ink='#1C2818' # the display's lettering, in which the bar and the note's ground are drawn
# ink_pixels WIDTHxHEIGHT+X+Y: pixels of the panel's area that are ink, in a screenshot taken now.
ink_pixels() {
  import -window root "$WORK/shot.png"
  convert "$WORK/shot.png" -crop "$(echo "$1" | awk -F'[x+]' -v x="$PANEL_X" -v y="$PANEL_Y" \
    '{ printf "%sx%s+%d+%d", $1, $2, $3 + x, $4 + y }')" +repage txt:- | grep -c "$ink" || true
}

echo "== the bar shows the tone at -6 dBFS"
[ "$(ink_pixels 50x3+10+84)" = 0 ] || fail "a bar shows before the take"
click_record
sleep 1
bar=$(ink_pixels 50x1+10+85)
cp "$WORK/shot.png" "${MURMORA_SHOTS:-$WORK}/windows-level-tone.png"
echo "the bar is $bar pixels long"
within "$bar" 43 47 || fail "the bar is $bar pixels long, not -6 dBFS (45) within 3 dB" # -9 dBFS 42.5, -3 dBFS 47.5

echo "== the feed stops: the note comes after 5 s of silence"
note_area=53x83+8+88
[ "$(ink_pixels $note_area)" -lt 2000 ] || fail "the note shows while the microphone hears the tone"
kill "$FEED_PID"
silent_from=$(now)
until [ "$(ink_pixels $note_area)" -gt 2200 ]; do # half the note's 4399 pixels
  within "$(seconds_since "$silent_from")" 0 8 || fail "no note 8 s after the input fell silent"
  sleep 0.2
done
after=$(seconds_since "$silent_from")
cp "$WORK/shot.png" "${MURMORA_SHOTS:-$WORK}/windows-level-silent.png"
echo "the note came after $after s"
within "$after" 5 7.5 || fail "the note came $after s after the input fell silent, not after 5 s"
[ "$(ink_pixels 50x1+10+85)" = 0 ] || fail "the bar does not fall to nothing for silence"

echo "== the take records on"
click_stop
answer_dialog "Save Recorded File" "$WORK_WIN\\silent.wav"
expect_message "Recording saved as  $WORK_WIN\\silent.wav"
length=$(soxi -D "$WORK/silent.wav")
within "$length" "$(awk -v a="$after" 'BEGIN { print a + 1 }')" 30 || fail "the take holds $length s, not on past the note"
[ "$(ink_pixels $note_area)" -lt 2000 ] || fail "the note stays after the take"
echo "PASS: a bar of $bar pixels; the note after $after s"
finish
