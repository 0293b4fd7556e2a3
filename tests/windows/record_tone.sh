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
read -r shortest longest < <(echo "$output" | sed -n 's/^held between \([0-9.]*\) and \([0-9.]*\) s.*/\1 \2/p')
[ -n "$longest" ] || fail "the recorder did not say how long it held the take"
take="$folder/take.wav"
assert_tone "$take" 440 2.9 || fail "the take does not hold the 440 Hz tone"
length=$(duration "$take")
within "$length" "$(awk -v s="$shortest" 'BEGIN { print s - 0.1 }')" "$(awk -v l="$longest" 'BEGIN { print l + 0.1 }')" ||
  fail "the take lasts $length s, not the $shortest to $longest s it was recording"
[ "$(soxi -r "$take")" = 44100 ] && [ "$(soxi -c "$take")" = 2 ] && [ "$(soxi -b "$take")" = 16 ] ||
  fail "the take is not 44,100 Hz 16-bit stereo"
echo "PASS: $length s of 440 Hz"
