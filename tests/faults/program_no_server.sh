#!/usr/bin/env bash
# No sound server when the program starts. A take started then has nothing to record: the
# program stays up, says at once that nothing is being recorded and starts no take. Once a
# server has started, the next take works without restarting the program.
. "$(dirname "$0")/program_faults_lib.sh"
start_app

echo "== a take with no sound server"
record_button
expect_box warning "The sound input could not be opened: nothing is being recorded."
cut_button
sleep 0.5
if window_named "^Save Recorded File$" >/dev/null; then fail "the stop button offers to save a take that never started"; fi
alive "after a take with no sound server"

echo "== a server starts: the next take works"
server_start
record_button
sleep 2.5
cut_button
answer_save_dialog "$HOME/after.wav"
expect_box information "Recording saved as  $HOME/after.wav"
expect_take "$HOME/after.wav" 2
close_app
echo "PASS"
