#!/usr/bin/env bash
# The sound server is killed while the program records, and again while it plays. The program
# stays up: within 2 s the panel stops counting and says how much of the take is kept, then
# offers to save it, holding everything captured before the kill; the playback ends; once a
# server runs again the next take works; Close ends it.
. "$(dirname "$0")/program_faults_lib.sh"
server_start
start_app

echo "== the server dies during a take"
record_button
sleep 3.5
server_kill
wait_until_told "$(now_ns)" "the input was lost"
[ "$told_ms" -le 2000 ] || fail "the loss was told $told_ms ms after the kill, not within 2 s"
expect_box warning "The sound input was lost after 3 sec. The recording so far is kept."
answer_save_dialog "$HOME/kept.wav"
expect_box information "Recording saved as  $HOME/kept.wav"
expect_take "$HOME/kept.wav" 3

echo "== the server dies during playback"
server_start
play_button
sleep 1
server_kill
sleep 1
alive "after the server was killed during playback"
server_start
echo "== the next take works"
expect_next_take "$HOME/next.wav"
expect_take "$HOME/kept.wav" 3
close_app
[ -z "$(find "$TAKES" -type f 2>/dev/null)" ] || fail "take files left behind: $(ls "$TAKES")"
echo "PASS: kept $(soxi -D "$HOME/kept.wav") s of the take the server died in"
