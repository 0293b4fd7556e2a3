#!/usr/bin/env bash
# The real panel under Wine: Convert, a WAV file with blanks in its name chosen in the open
# dialog: the cross-built LAME.exe beside murmora.exe writes NAME.wav.mp3 holding the tone.
. "$(dirname "$0")/panel_lib.sh"
[ -f "$(dirname "$MURMORA_EXE")/LAME.exe" ] || fail "LAME.exe is not beside murmora.exe (scripts/build-lame-windows.sh)"
sox -n -r 44100 -c 2 -b 16 "$WORK/a tone.wav" synth 2 sine 440 vol 0.5
start_panel
click_convert
answer_dialog "Convert Wav File" "$WORK_WIN\\a tone.wav"
wait_file "$WORK/a tone.wav.mp3" || fail "no MP3 was written"
assert_tone "$WORK/a tone.wav.mp3" 440 1.9 || fail "the MP3 does not hold the tone"
finish
