#!/usr/bin/env bash
# The sound server is stopped (SIGSTOP). Stop, Record and Play each say that the server does not
# answer instead of freezing the panel, the take stopped then keeps what was captured and saves;
# once the server goes on, the streams Record and Play gave up on are gone from it and the next
# take works without a restart. A server that stops in the middle of a take is told within 2 s,
# as a lost input, and the take so far saves. Close in a take while the server is stopped asks
# about the take, and Discard ends the program at once.
. "$(dirname "$0")/program_faults_lib.sh"
server_start
start_app

echo "== Stop while the server is stopped"
record_button
sleep 2
audio_pause
cut_button
expect_box warning "The sound server does not answer. The recording so far is kept."
answer_save_dialog "$HOME/kept.wav"
expect_box information "Recording saved as  $HOME/kept.wav"
expect_take "$HOME/kept.wav" 1.5

echo "== Record and Play while it is stopped"
record_button
expect_box warning "The sound server does not answer: nothing is being recorded. Try again in a moment."
play_button
expect_box warning "The sound server does not answer: the recording cannot be played now. Try again in a moment."
alive "while the server is stopped"

echo "== the server goes on: the streams given up on are gone, and the next take works"
audio_resume
expect_no_streams
expect_next_take "$HOME/next.wav"

echo "== the server stops in the middle of a take"
record_button
sleep 3.5
audio_pause
wait_until_told "$(now_ns)" "the input was lost"
[ "$told_ms" -le 2000 ] || fail "the stopped server was told $told_ms ms after it stopped, not within 2 s"
expect_box warning "The sound input was lost after 3 sec. The recording so far is kept."
answer_save_dialog "$HOME/frozen.wav"
expect_box information "Recording saved as  $HOME/frozen.wav"
expect_take "$HOME/frozen.wav" 3
audio_resume
expect_no_streams

echo "== Close in a take while the server is stopped, and Discard"
record_button
sleep 1
audio_pause
close_button
answer_save_question "A recording is running. Save it before closing?" discard
expect_ended "after Discard while the server is stopped"
audio_resume
echo "PASS"
