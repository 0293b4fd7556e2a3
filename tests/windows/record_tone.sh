#!/usr/bin/env bash
# Records 3 s through the Windows MCI service under Wine from the test run's sound server (a
# 440 Hz microphone), saves it under a path with blanks and checks the file holds the tone.
# usage: record_tone.sh MCI_RECORD AUDIO_ENV, in the Wine prefix of .ci/wine-env.sh
. "$(dirname "$0")/../audio/real_audio_lib.sh"
[ -n "${WINEPREFIX:-}" ] || unavailable "no Wine prefix (see .ci/wine-env.sh)"
need_server
folder="$WINEPREFIX/drive_c/path with blanks"
mkdir -p "$folder"
rm -f "$folder/take.wav"
output=$(timeout 60 wine "$MCI_SHELL" 3 'C:\path with blanks\take.wav') || fail "the take was not recorded and saved"
echo "$output"
expect_held_take "$output" "$folder/take.wav"
echo "PASS: $(duration "$folder/take.wav") s of 440 Hz"
