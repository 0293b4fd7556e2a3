#!/usr/bin/env bash
# No sound server when the program starts. A take started then has nothing to record: the
# program stays up, writes no file and says that nothing was saved. Once a server has started,
# the next take works without restarting the program.
. "$(dirname "$0")/program_faults_lib.sh"
start_app

echo "== a take with no sound server"
record_button
sleep 1.5
cut_button
answer_save_dialog "$HOME/nothing.wav"
# Nothing was captured: there is nothing to save, and the user is told so.
box=$(wait_for_window "^Murmora$" "$PANEL") || fail "no message after saving a take that never recorded"
import -window "$box" "$WORK/no-server-box.png"
xdotool windowfocus --sync "$box" key Return
sleep 0.5
if dialog=$(window_named "^Save Recorded File$"); then
  echo "note: the save dialog asks again for a take that was never recorded"
  xdotool windowfocus --sync "$dialog" key Escape
  expect_box warning "Recording Not Saved"
fi
alive "after a take with no sound server"
[ ! -e "$HOME/nothing.wav" ] || fail "a file was written for a take that never recorded"

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
