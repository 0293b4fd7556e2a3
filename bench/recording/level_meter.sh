#!/usr/bin/env bash
# CPU of the panel during a take with the input level shown, against the same take with the
# panel's level timer stopped, both recording side by side from the same private microphone, so
# that both see the same load; ROUNDS times (default 1; 3 for the full measure) over SECONDS
# (default 10; 60). The microphone plays its 440 Hz tone with a tremolo, so that the bar changes
# at every tick. Build level-meter-bench first (in build/, or the folder in MURMORA_BUILD).
# usage: bench/recording/level_meter.sh [SECONDS] [ROUNDS]
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/bench/stats.sh"
BENCH=$(built level-meter-bench)
seconds=${1:-10} rounds=${2:-1}
audio_work level-bench
kill "$FEED_PID"
wait "$FEED_PID" 2>/dev/null || true
sox -q -n -r 44100 -c 2 -e signed -b 16 -t raw - synth 3600 sine 440 tremolo 3 100 vol 0.5 |
  pacat -p -d feed --raw --rate=44100 --channels=2 --format=s16le --latency-msec=20 &
FEED_PID=$!

metered=0 plain=0 metered_panel=0 plain_panel=0
add() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a + b }'; }
for round in $(seq "$rounds"); do
  "$BENCH" "$seconds" meter > "$WORK/meter" &
  meter_pid=$!
  "$BENCH" "$seconds" plain > "$WORK/plain"
  wait "$meter_pid"
  read -r meter_cpu meter_panel < "$WORK/meter"
  read -r plain_cpu plain_panel < "$WORK/plain"
  echo "  round $round: with the meter $meter_cpu s (panel thread $meter_panel s)," \
       "without $plain_cpu s (panel thread $plain_panel s)"
  metered=$(add "$metered" "$meter_cpu") plain=$(add "$plain" "$plain_cpu")
  metered_panel=$(add "$metered_panel" "$meter_panel") plain_panel=$(add "$plain_panel" "$plain_panel")
done
echo "panel take, $rounds x $seconds s: with the level meter $metered s CPU, without $plain s CPU," \
     "ratio $(awk -v a="$metered" -v b="$plain" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }') (goal <= 1.25)"
echo "panel thread alone: with the level meter $metered_panel s CPU, without $plain_panel s CPU"
echo "panel_meter_cpu_s=$metered"
echo "panel_plain_cpu_s=$plain"
