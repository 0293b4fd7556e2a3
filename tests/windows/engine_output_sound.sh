#!/usr/bin/env bash
# "What the computer plays" over WASAPI. Where Wine captures what an output plays (Wine 10 and
# later, as Windows does), each output of the sound server is offered as an input, and a take
# from NullOutput while a known file plays there holds that file's 1 kHz tone. (A fresh monitor
# of the server delivers its first frames over a second late, under Wine as on Linux: the take
# holds what it delivered.)
# Wine 8 refuses the capture (AUDCLNT_E_WRONG_ENDPOINT_TYPE): then no output may be offered.
. "$(dirname "$0")/engine_lib.sh"
need_server
listed=$(timeout 60 wine "$PROBE" inputs) || fail "the inputs were not listed: $listed"
echo "$listed"
outputs=$(echo "$listed" | awk -F'\t' '$NF == "output"')
wine_major=$(wine --version | sed -E 's/^wine-([0-9]+).*/\1/')
if [ "$wine_major" -lt 10 ]; then
  [ -z "$outputs" ] || fail "Wine $wine_major refuses to capture an output, yet it is offered: $outputs"
  echo "PASS: Wine $wine_major offers no output's sound"
  exit 0
fi
# Each of the server's outputs (Wine adds "PulseAudio Output", its name for the default one).
while read -r description; do
  echo "$outputs" | awk -F'\t' -v d="$description" '$2 == d { found = 1 } END { exit !found }' ||
    fail "the sound of $description is not offered"
done < <(pactl list sinks | sed -n 's/^[[:space:]]*Description: //p')
null_output=$(echo "$outputs" | awk -F'\t' '$2 == "NullOutput" { print $1 }')

sox -q -n -r 44100 -c 2 -b 16 "$WORK/known.wav" synth 30 sine 1000 vol 0.5
paplay -d nullsink "$WORK/known.wav" &
player=$!
take="$WORK/what it plays.wav"
output=$(timeout 60 wine "$PROBE" record-from "$null_output" 4 "$(winpath "$take")") ||
  { kill "$player"; fail "the take was not recorded and saved: $output"; }
kill "$player"
echo "$output"
echo "$output" | grep -q "^lost" && fail "the output's sound was taken for a lost input"
assert_tone "$take" 1000 1 || fail "the take does not hold the tone the output played"
echo "PASS: $(duration "$take") s of what NullOutput played"
