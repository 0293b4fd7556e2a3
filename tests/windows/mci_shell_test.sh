#!/usr/bin/env bash
# mci-shell.exe under Wine drives the take engine over WASAPI with the command language of the
# Linux mci-shell and its result codes: a 3 s take from the test run's 440 Hz microphone, its
# level while it records, saved to a name with blanks and a letter beyond ASCII, then opened and
# played; a command it does not know, an alias not open and a file not there.
. "$(dirname "$0")/engine_lib.sh"
need_server
take="$WORK/a café take.wav"
name=$(winpath "$take")
printf '%s\n' "open new type waveaudio alias capture" "record capture" "#sleep 1500" "status capture level" \
    "#sleep 1500" "stop capture" "status capture mode" "save capture $name" "close capture" \
    "open $name type waveaudio alias voice1" "status voice1 length" "play voice1" "#sleep 300" \
    "status voice1 mode" "close voice1" "record nothing" "open $(winpath "$WORK/none.wav") type waveaudio alias x" \
    "bogus" | timeout 60 wine "$MCI_SHELL" > "$WORK/out"
cat "$WORK/out"
for line in 1 2 4 6 7 8 10 12; do expect_reply "$WORK/out" $line 0; done
expect_reply "$WORK/out" 5 0 stopped
expect_reply "$WORK/out" 11 0 playing
expect_reply "$WORK/out" 13 263
expect_reply "$WORK/out" 14 275
expect_reply "$WORK/out" 15 261
level=$(reply "$WORK/out" 3 | cut -f2)
within "$level" 15000 18000 || fail "the level of the -6 dBFS tone reads $level, not about 16384"
assert_tone "$take" 440 2.9 || fail "the take does not hold the 440 Hz tone"
length=$(duration "$take")
within "$length" 2.9 3.1 || fail "the take lasts $length s, not 3 s"
milliseconds=$(reply "$WORK/out" 9 | cut -f2)
within "$milliseconds" "$(awk -v l="$length" 'BEGIN { print l * 1000 - 1 }')" "$(awk -v l="$length" 'BEGIN { print l * 1000 + 1 }')" ||
  fail "the file's length reads $milliseconds ms, not the take's $length s"
echo "PASS: $length s of 440 Hz, level $level"
