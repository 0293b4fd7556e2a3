#!/usr/bin/env bash
# Closing the panel while a take records asks whether to save it first, by the Close button and
# by the window manager (Alt+F4): Cancel records on, Save saves as after Stop and then ends the
# program, Discard ends it at once without the take.
. "$(dirname "$0")/program_faults_lib.sh"
QUESTION="A recording is running. Save it before closing?"
server_start
start_window_manager

take_size() { stat -c %s "$TAKES"/*.wav 2>/dev/null || echo 0; }

echo "== the Close button, Cancel, then Save"
start_app
record_button
sleep 2
close_button
answer_save_question "$QUESTION" cancel
alive "after Cancel"
before=$(take_size)
sleep 1.5
[ "$(take_size)" -gt "$before" ] || fail "the take did not record on after Cancel"
close_button
answer_save_question "$QUESTION" save
answer_save_dialog "$HOME/kept.wav"
expect_box information "Recording saved as  $HOME/kept.wav"
expect_ended "after the take was saved"
expect_take "$HOME/kept.wav" 3

echo "== Alt+F4, Discard"
start_app
record_button
sleep 2
xdotool windowactivate --sync "$PANEL" key --clearmodifiers alt+F4
answer_save_question "$QUESTION" discard
expect_ended "after Discard"
[ -z "$(ls -A "$TAKES")" ] || fail "the discarded take is still there: $(ls -A "$TAKES")"
[ "$(ls "$HOME")" = kept.wav ] || fail "a file was saved: $(ls "$HOME")"
echo "PASS"
