#!/usr/bin/env bash
# Plays a 3 s file through mci-shell, 2.5 s of 440 Hz then 0.5 s of 660 Hz: the null output's
# monitor must hear all of it, to the last half second, and the mode must read "playing" while
# it plays and "stopped" after. The file's name ends in a blank, which the open command keeps.
. "$(dirname "$0")/real_audio_lib.sh"
need_server
file="$WORK/tone – 440.wav "
sox -q -n -r 44100 -c 2 -b 16 "$WORK/440.wav" synth 2.5 sine 440 vol 0.5
sox -q -n -r 44100 -c 2 -b 16 "$WORK/660.wav" synth 0.5 sine 660 vol 0.5
sox -q "$WORK/440.wav" "$WORK/660.wav" -t wav "$file"
monitor=$(pactl get-default-sink).monitor
parec -d "$monitor" --raw --format=s16le --rate=44100 --channels=2 --latency-msec=20 > "$WORK/heard.raw" &
listener=$!
sleep 2 # a fresh monitor takes about a second to deliver its first frames
printf '%s\n' "open $file type waveaudio alias voice1" "set voice1 time format ms" "status voice1 length" \
    "set voice1 time format bytes" "status voice1 length" "play voice1" "#sleep 500" "status voice1 mode" \
    "#sleep 2000" "status voice1 mode" "#sleep 2000" "status voice1 mode" "close voice1" |
  timeout 60 "$MCI_SHELL" > "$WORK/out"
sleep 0.3
kill "$listener"; wait "$listener" 2>/dev/null || true
cat "$WORK/out"
expect_reply "$WORK/out" 1 0
expect_reply "$WORK/out" 3 0 3000
expect_reply "$WORK/out" 5 0 529200
expect_reply "$WORK/out" 6 0
expect_reply "$WORK/out" 7 0 playing
expect_reply "$WORK/out" 8 0 playing
expect_reply "$WORK/out" 9 0 stopped
expect_reply "$WORK/out" 10 0
# What the output played, from its first sounding frame to its last.
sox -q -t raw -r 44100 -c 2 -e signed -b 16 "$WORK/heard.raw" "$WORK/heard.wav" \
    silence 1 0.01 1% reverse silence 1 0.01 1% reverse
sox -q "$WORK/heard.wav" "$WORK/start.wav" trim 0 2.4
sox -q "$WORK/heard.wav" "$WORK/end.wav" reverse trim 0 0.45 reverse
assert_tone "$WORK/start.wav" 440 2.35 || fail "the output's monitor did not hear the 440 Hz part"
assert_tone "$WORK/end.wav" 660 0.4 || fail "the output's monitor did not hear the file's last half second"
heard=$(duration "$WORK/heard.wav")
within "$heard" 2.95 3.1 || fail "the output played $heard s of a 3 s file"
echo "PASS: heard $heard s"
