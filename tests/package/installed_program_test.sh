#!/usr/bin/env bash
# The installed program as a user meets it, under the test run's X server with a sound server
# of its own: a take recorded with the buttons and saved holds the tone, and the Convert button
# turns it into an MP3 with the encoder of the program's library folder.
#   bash installed_program_test.sh PROGRAM MESSAGE_BOX_REFERENCE AUDIO_ENV
. "$(dirname "$0")/../faults/program_faults_lib.sh"
server_start
start_app

echo "== a take recorded with the record and stop buttons, saved"
take="$HOME/first take.wav"
expect_next_take "$take"

echo "== converted to MP3 with the Convert button"
click_panel 91 137
dialog=$(wait_for_window "^Convert Wav File$") || fail "no Convert dialog"
xdotool windowfocus --sync "$dialog" key ctrl+a
xdotool type --delay 2 -- "$take"
xdotool windowfocus --sync "$dialog" key Return
mp3="$take.mp3"
writing() { grep -qzxF -- "$mp3" /proc/[0-9]*/cmdline 2>/dev/null; } # the encoder runs on it
for _ in $(seq 300); do [ -f "$mp3" ] && ! writing && break; sleep 0.1; done
[ -f "$mp3" ] || fail "no MP3 beside the take: $(ls -A "$HOME")"
! writing || fail "the encoder still writes $mp3 after 30 s"
! window_named "^Murmora$" "$PANEL" >/dev/null || fail "a message instead of the conversion"
[ "$(soxi -t "$mp3")" = mp3 ] || fail "$mp3 is no MP3 file: $(file -b "$mp3")"
assert_tone "$mp3" 440 1.5 || fail "the MP3 does not hold the take's tone"
alive "after the conversion"
close_app
echo "PASS"
