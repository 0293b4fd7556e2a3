#!/usr/bin/env bash
# The real panel under Wine: Play plays the take just saved (a stream appears on the sound server).
. "$(dirname "$0")/panel_lib.sh"
start_panel
record_take 1 "to play.wav"
playing_streams() { pactl list short sink-inputs | wc -l; }
before=$(playing_streams)
click_play
for _ in $(seq 30); do [ "$(playing_streams)" -gt "$before" ] && break; sleep 0.1; done
[ "$(playing_streams)" -gt "$before" ] || fail "no stream started playing ($before before and after Play)"
finish
