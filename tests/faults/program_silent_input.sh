#!/usr/bin/env bash
# The input level on the panel while it records the 440 Hz microphone (-6 dBFS peak):
#   - the bar under the seconds, read from a screenshot, is as long as -6 dBFS on its scale from
#     -60 to 0 dBFS (50 pixels), within 3 dB;
#   - once the microphone's feed stops, so that it hears silence, the note about a silent input
#     covers the lower display after 5 s (5 to 6 s, seen within 7.5 s at the screenshots' pace),
#     and the take records on: saved, it holds every frame of the time it ran, the tone and then
#     the silence.
. "$(dirname "$0")/program_faults_lib.sh"
server_start
start_app

ink='#1C2818' # the display's lettering, in which the bar and the note's ground are drawn
# ink_pixels WIDTHxHEIGHT+X+Y: pixels of the panel's area that are ink, in a screenshot taken now.
ink_pixels() {
  import -window "$PANEL" "$WORK/shot.png"
  convert "$WORK/shot.png" -crop "$1" +repage txt:- | grep -c "$ink" || true
}
now() { date +%s.%N; }
seconds_since() { awk -v from="$1" -v to="$(now)" 'BEGIN { printf "%.2f", to - from }'; }

echo "== the bar shows the tone at -6 dBFS"
[ "$(ink_pixels 50x3+10+84)" = 0 ] || fail "a bar shows before the take"
recording_from=$(now)
record_button
sleep 1
bar=$(ink_pixels 50x1+10+85)
cp "$WORK/shot.png" "${MURMORA_SHOTS:-$WORK}/level-tone.png"
# -9 dBFS is 42.5 pixels, -3 dBFS 47.5.
echo "the bar is $bar pixels long"
within "$bar" 43 47 || fail "the bar is $bar pixels long, not -6 dBFS (45) within 3 dB"

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
cp "$WORK/shot.png" "${MURMORA_SHOTS:-$WORK}/level-silent.png"
within "$after" 5 7.5 || fail "the note came $after s after the input fell silent, not after 5 s"
echo "the note came after $after s"
[ "$(ink_pixels 50x1+10+85)" = 0 ] || fail "the bar does not fall to nothing for silence"

echo "== the take records on and keeps every frame"
sleep 1
alive "after the note"
ran=$(seconds_since "$recording_from")
cut_button
answer_save_dialog "$HOME/silent.wav"
expect_box information "Recording saved as  $HOME/silent.wav"
length=$(soxi -D "$HOME/silent.wav")
echo "the take holds $length s of the $ran s it ran"
# The take starts after the pointer's move and click (0.1 s), and stops on its release.
within "$length" "$(awk -v r="$ran" 'BEGIN { print r - 0.4 }')" "$(awk -v r="$ran" 'BEGIN { print r + 0.3 }')" ||
  fail "the take holds $length s, not the $ran s it ran"
sox "$HOME/silent.wav" "$WORK/tone.wav" trim 0 1
expect_take "$WORK/tone.wav" 0.9
silence=$(sox "$HOME/silent.wav" -n trim "$(awk -v l="$length" 'BEGIN { print l - 6 }')" stat 2>&1 |
  awk '/^Maximum amplitude/ { print $3 }')
[ "$silence" = 0.000000 ] || fail "its last 6 s are not silence (peak $silence)"
[ "$(ink_pixels $note_area)" -lt 2000 ] || fail "the note stays after the take"
echo "PASS"
