#!/usr/bin/env bash
# The real panel under Wine: Ctrl+Alt+R and Ctrl+Alt+S while another Wine program (notepad) has
# the focus record a take and stop it; the save dialog follows.
. "$(dirname "$0")/panel_lib.sh"
start_panel
start_notepad
xdotool windowfocus --sync "$notepad"
xdotool key ctrl+alt+r
sleep 2
xdotool windowfocus --sync "$notepad"
xdotool key ctrl+alt+s
answer_dialog "Save Recorded File" "$WORK_WIN\\by hotkeys.wav"
close_message_box
wait_file "$WORK/by hotkeys.wav" || fail "no take was saved"
assert_tone "$WORK/by hotkeys.wav" 440 1.5 || fail "the take does not hold the tone"
kill "$NOTEPAD_PID"
finish
