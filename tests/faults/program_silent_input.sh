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

. "$(dirname "$0")/../desktop/level_display_lib.sh"
# ink_pixels WIDTHxHEIGHT+X+Y: pixels of the panel's area that are ink, in a screenshot taken now.
ink_pixels() {
  import -window "$PANEL" "$WORK/shot.png"
  convert "$WORK/shot.png" -crop "$1" +repage txt:- | grep -c "$LEVEL_INK" || true
}
now() { date +%s.%N; }
seconds_since() { awk -v from="$1" -v to="$(now)" 'BEGIN { printf "%.2f", to - from }'; }

echo "== the bar shows the tone at -6 dBFS"
expect_no_bar
recording_from=$(now)
record_button
sleep 1
expect_tone_bar level-tone.png

echo "== the feed stops: the note comes after 5 s of silence"
expect_silence_note level-silent.png

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
[ "$(ink_pixels $SILENCE_NOTE)" -lt 2000 ] || fail "the note stays after the take"
echo "PASS"
