#!/usr/bin/env bash
# The real panel under Wine: Play plays the take just saved (a stream appears on the sound
# server), Stop ends the playback, and Play during a playback starts it again rather than
# playing it twice over.
. "$(dirname "$0")/panel_lib.sh"
start_panel
record_take 4 "to play.wav"
playing_streams() { pactl list short sink-inputs | wc -l; }
before=$(playing_streams)
wait_streams() { # COUNT WHAT
  for _ in $(seq 30); do [ "$(playing_streams)" = "$1" ] && return 0; sleep 0.1; done
  fail "$2: $(playing_streams) streams on the server, not $1"
}
click_play
wait_streams $((before + 1)) "no stream started playing"
click_stop
wait_streams "$before" "Stop did not end the playback"
click_play
wait_streams $((before + 1)) "Play did not play again"
click_play
sleep 0.5
wait_streams $((before + 1)) "Play during a playback"
click_stop
wait_streams "$before" "Stop did not end the playback played again"
finish
