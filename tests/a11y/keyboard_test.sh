#!/usr/bin/env bash
# The program worked with the keyboard alone, as a user who cannot use a mouse works it, under a
# window manager (openbox, run on the test run's X server for the length of this test), which
# gives the focus to each new window and back to the panel when a dialog goes:
#   - Tab goes round the seven buttons in reading order; each one, focused, wears the focus mark,
#     which is held against its reference picture (focus_marks/), pixel for pixel;
#   - Tab to Record and Space starts a take; Tab to Stop Recording and Space stops it, the save
#     dialog takes a name and Return, the message Return: the take holds the tone;
#   - Play File plays it; Convert Wav To mp3, with Enter, takes the take's name in its dialog
#     and the encoder writes the MP3;
#   - Set Recording Schedule opens the schedule window, where Up sets the hour, Tab reaches
#     "Activate", Space ticks it and Escape closes the window as its close box does, arming the
#     schedule;
#   - Tab to Close and Enter ends the program.
# MURMORA_UPDATE_REFERENCES=1 writes the focus marks seen as the new references.
# Usage: keyboard_test.sh PROGRAM MESSAGE_BOX_REFERENCE AUDIO_ENV
. "$(dirname "$0")/a11y_lib.sh"
start_window_manager
start_app

key() { xdotool key --delay 150 "$@"; sleep 0.3; }

# The panel's area around each button, where its focus mark shows: its place grown by 3 pixels.
declare -A around=(
  [Minimize]=31x31+6+5 [Record]=106x27+28+5 [Close]=31x31+133+5 [Stop_Recording]=61x61+101+61
  [Convert_Wav_To_mp3]=61x61+61+107 [Play_File]=61x61+141+107 [Set_Recording_Schedule]=61x61+101+152)
REFERENCES="$HERE/focus_marks"
shot_around() { # BUTTON FILE: the area around the button, from a screenshot of the panel now
  import -window "$PANEL" "$WORK/panel.png"
  convert "$WORK/panel.png" -crop "${around[$1]}" +repage "$2"
}

echo "== Tab goes round the buttons, each wearing its focus mark"
for button in "${!around[@]}"; do shot_around "$button" "$WORK/unmarked-$button.png"; done
for button in Close Stop_Recording Convert_Wav_To_mp3 Play_File Set_Recording_Schedule Minimize Record; do
  key Tab
  focused=$($PROBE focused) || fail "nothing has the focus after Tab"
  [ "$focused" = "${button//_/ }" ] || fail "Tab went to \"$focused\", not to \"${button//_/ }\""
  shot_around "$button" "$WORK/marked-$button.png"
  if [ "${MURMORA_UPDATE_REFERENCES:-0}" = 1 ]; then cp "$WORK/marked-$button.png" "$REFERENCES/$button.png"; fi
  differing=$(compare -metric AE "$REFERENCES/$button.png" "$WORK/marked-$button.png" null: 2>&1) || true
  [ "$differing" = 0 ] || fail "the focus mark on $button differs from its reference in $differing pixels"
  marked=$(compare -metric AE "$WORK/unmarked-$button.png" "$WORK/marked-$button.png" null: 2>&1) || true
  [ "$marked" -gt 40 ] || fail "the focused $button looks as it does unfocused ($marked pixels differ)"
done

echo "== Tab to Record and Space starts a take"
key space
expect_recordings 1 "Space on Record"
sleep 2

echo "== Tab to Stop Recording and Space stops it; the save dialog takes a name"
key Tab Tab space
wait_for_window "^Save Recorded File$" "$PANEL" >/dev/null || fail "no save dialog after Space on Stop Recording"
sleep 0.5
key ctrl+a
xdotool type --delay 5 -- "$HOME/keys.wav"
key Return
expect_box information "Recording saved as  $HOME/keys.wav"
expect_take "$HOME/keys.wav" 1.5
[ "$($PROBE focused)" = "Stop Recording" ] || fail "the focus is not back on Stop Recording"

echo "== Play File plays it"
key Tab Tab space
for _ in $(seq 50); do pactl list sink-inputs | grep -q 'application.name = "Murmora"' && break; sleep 0.1; done
pactl list sink-inputs | grep -q 'application.name = "Murmora"' || fail "Space on Play File plays nothing"

echo "== Convert Wav To mp3, with Enter, converts the take"
key shift+Tab Return
wait_for_window "^Convert Wav File$" "$PANEL" >/dev/null || fail "no open dialog after Enter on Convert Wav To mp3"
sleep 0.5
key ctrl+a
xdotool type --delay 5 -- "$HOME/keys.wav"
key Return
for _ in $(seq 100); do [ -s "$HOME/keys.wav.mp3" ] && break; sleep 0.1; done
[ -s "$HOME/keys.wav.mp3" ] || fail "no MP3 after the conversion"

echo "== Set Recording Schedule: Up, Tab to Activate, Space, Escape arms a schedule"
key Tab Tab space
schedule=$(wait_for_window "^Murmora - Record Panel$" "$PANEL") || fail "no schedule window after Space"
sleep 0.5
[ "$($PROBE focused)" = "Start hour" ] || fail "the schedule window opens with the focus on $($PROBE focused)"
key Up
key Tab Tab Tab Tab Tab Tab Tab Tab Tab
[ "$($PROBE focused)" = "Activate" ] || fail "nine Tabs went to $($PROBE focused), not to Activate"
key space Escape
wait_gone "$schedule" || fail "Escape did not close the schedule window"
$PROBE show "Record:" >/dev/null || fail "the panel does not show a schedule after Escape"
$PROBE show "2:00:00 AM" >/dev/null || fail "the schedule is not for 2:00:00 AM"

echo "== Tab to Close and Enter ends the program"
key Tab Tab Tab
[ "$($PROBE focused)" = "Close" ] || fail "the focus is on $($PROBE focused), not on Close"
key Return
expect_end "Enter on Close"
echo "PASS"
