#!/usr/bin/env bash
# The server moves the take's stream to another input (as when a USB microphone is unplugged
# while another is present): the take goes on to its end, never reported lost.
. "$(dirname "$0")/real_audio_lib.sh"
own_server
pactl load-module module-null-sink sink_name=other sink_properties=device.description=OtherInput >/dev/null
# A listener keeps the other input running, as a microphone in use is: a fresh one takes a
# second to deliver its first frames.
parec -d other.monitor --latency-msec=20 > /dev/null 2>&1 &
listener=$!
cleanup_steps+=("kill $listener")
sleep 1.5
take="$WORK/moved.wav"
{
  printf '%s\n' "open new type waveaudio alias capture" "record capture"
  sleep 1
  output=$(pactl list source-outputs | awk '/^Source Output #/ { id = substr($3, 2) }
                                           /application.name = "Murmora"/ { print id; exit }')
  pactl move-source-output "$output" other.monitor
  sleep 3
  printf '%s\n' "status capture mode" "stop capture" "save capture $take" "close capture"
} | timeout 60 "$MCI_SHELL" > "$WORK/out" || fail "mci-shell did not finish: $(cat "$WORK/out")"
cat "$WORK/out"
expect_reply "$WORK/out" 3 0 recording
expect_reply "$WORK/out" 4 0
length=$(duration "$take")
within "$length" 3.7 4.3 || fail "the moved take lasts $length s, not 4 s"
echo "PASS: $length s"
