#!/usr/bin/env bash
# The real panel under Wine: a take started by Ctrl+Alt+R while notepad has the focus, paused by
# Ctrl+Alt+P for 2 s and resumed by the record button (the panel raised over notepad), holds the 3 s recorded outside the pause,
# the tone throughout.
. "$(dirname "$0")/panel_lib.sh"
start_panel
start_notepad
xdotool windowfocus --sync "$notepad"
xdotool key ctrl+alt+r
sleep 1.5
xdotool windowfocus --sync "$notepad"
xdotool key ctrl+alt+p
sleep 2
xdotool windowraise "$PANEL"
click_record
sleep 1.5
click_stop
answer_dialog "Save Recorded File" "$WORK_WIN\\paused.wav"
close_message_box
wait_file "$WORK/paused.wav" || fail "no take was saved"
assert_tone "$WORK/paused.wav" 440 2.8 || fail "the take does not hold the tone"
length=$(soxi -D "$WORK/paused.wav")
within "$length" 2.8 3.4 || fail "the take holds $length s, not the 3 s recorded outside its pause"
kill "$NOTEPAD_PID"
finish
