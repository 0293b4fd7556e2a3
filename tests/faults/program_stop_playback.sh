#!/usr/bin/env bash
# Stop during a playback ends it, with the button and with Ctrl+Alt+S, and Play during a
# playback starts the take again rather than playing it twice over.
. "$(dirname "$0")/program_faults_lib.sh"
server_start
start_app
record_button
sleep 4
cut_button
answer_save_dialog "$HOME/to play.wav"
expect_box information "Recording saved as  $HOME/to play.wav"

# The program's playback streams on the server.
playing() { pactl list sink-inputs | grep -c 'application.name = "Murmora"' || true; }
wait_playing() { # COUNT
  for _ in $(seq 30); do [ "$(playing)" = "$1" ] && return 0; sleep 0.1; done
  fail "$(playing) playbacks on the server, not $1"
}

play_button
wait_playing 1
cut_button
wait_playing 0
play_button
wait_playing 1
xdotool key --clearmodifiers ctrl+alt+s
wait_playing 0
play_button
wait_playing 1
play_button
sleep 0.5
wait_playing 1
alive "after Play during a playback"
cut_button
wait_playing 0
close_app
echo "PASS"
