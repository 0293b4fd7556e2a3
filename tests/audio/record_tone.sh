#!/usr/bin/env bash
# Records 3 s from the default input through mci-shell and checks the file holds the tone. The
# path is written unquoted with blanks at its start, inside and at its end: the take goes to
# exactly that name, and the file its trimmed form names stays as it was.
. "$(dirname "$0")/real_audio_lib.sh"
need_server
trimmed="$WORK/ a take  with blanks.wav"
echo kept > "$trimmed"
take="$trimmed  "
printf '%s\n' "open new type waveaudio alias capture" "record capture" "#sleep 3000" "stop capture" \
    "status capture mode" "save capture $take" "close capture" | timeout 60 "$MCI_SHELL" > "$WORK/out"
cat "$WORK/out"
for line in 1 2 3 5 6; do expect_reply "$WORK/out" $line 0; done
expect_reply "$WORK/out" 4 0 stopped
assert_tone "$take" 440 2.9 || fail "the take does not hold the 440 Hz tone"
length=$(duration "$take")
within "$length" 2.9 3.1 || fail "the take lasts $length s, not 3 s"
[ "$(soxi -r "$take")" = 44100 ] && [ "$(soxi -c "$take")" = 2 ] && [ "$(soxi -b "$take")" = 16 ] ||
  fail "the take is not 44,100 Hz 16-bit stereo"
[ "$(cat "$trimmed")" = kept ] || fail "the take went to the name without its closing blanks"
no_takes_left
echo "PASS: $length s of 440 Hz"
