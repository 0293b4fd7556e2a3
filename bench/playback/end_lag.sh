#!/usr/bin/env bash
# How long after the output played the last frame of a file the panel hears that its playback
# has ended: ROUNDS rounds (default 5) of a 5 s file played through the panel's Play button,
# while sound-end-watch listens to the output. Median and spread; a negative lag is an end told
# before the sound had ended. Also checks that the whole file was heard. On the private
# PulseAudio server, or PipeWire with MURMORA_TEST_SERVER=pipewire. Prints figures only.
# usage: bench/playback/end_lag.sh [ROUNDS]
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/bench/stats.sh"
rounds=${1:-5}
built play-action-bench >/dev/null
built sound-end-watch >/dev/null
CLEANUP='[ -n "${watch:-}" ] && kill "$watch" 2>/dev/null'
audio_work end-bench
server=${MURMORA_TEST_SERVER:-pulseaudio}
length=5
file=$WORK/tone.wav
sox -q -n -r 44100 -c 2 -b 16 "$file" synth "$length" sine 440 vol 0.5

: > "$WORK/lags"
for round in $(seq "$rounds"); do
  "$BUILD/sound-end-watch" 500 > "$WORK/watch" &
  watch=$!
  for _ in $(seq 50); do grep -q listening "$WORK/watch" && break; sleep 0.1; done
  "$BUILD/play-action-bench" "$file" > "$WORK/play" 2> "$WORK/play.err" || { cat "$WORK/play.err" >&2; exit 1; }
  wait "$watch"; watch=
  read -r _ _ heard _ < "$WORK/play"
  read -r last first < <(tail -1 "$WORK/watch")
  lag=$(awk -v h="$heard" -v l="$last" 'BEGIN { printf "%.0f", 1000 * (h - l) }')
  sound=$(awk -v l="$last" -v f="$first" 'BEGIN { printf "%.3f", l - f }')
  echo "$lag" >> "$WORK/lags"
  echo "  round $round: the end heard $lag ms after the last frame was played; $sound s of the $length s heard"
  awk -v s="$sound" -v n="$length" 'BEGIN { exit !(s > n - 0.05) }' ||
    echo "  round $round: part of the file was not played" >&2
done
echo "end of a playback on $server: heard $(median < "$WORK/lags") ms after its last frame (spread $(spread < "$WORK/lags") ms, $rounds rounds; goal <= 100 ms)"
echo "end_heard_ms=$(median < "$WORK/lags")"
