#!/usr/bin/env bash
# CPU of the panel's Play action against paplay playing the same file at the same time, on a
# private PulseAudio server; ROUNDS rounds (default 3), each figure the median of the rounds with
# their spread. First a SECONDS-long WAV (default 30) played to its end; then a 10-minute and a
# 101-minute WAV (sparse files: the tone for SECONDS, then silence), played for their first
# SECONDS and stopped, as paplay is. Also how long the press of Play held the panel, which must
# not grow with the file. Prints figures only. Build play-action-bench first (in build/, or the
# folder in MURMORA_BUILD).
# usage: bench/playback/run.sh [SECONDS] [ROUNDS]
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/bench/stats.sh"
BENCH=$(built play-action-bench)
seconds=${1:-30} rounds=${2:-3}
audio_work play-bench

tone=$WORK/tone.wav
sox -q -n -r 44100 -c 2 -b 16 "$tone" synth "$seconds" sine 440 vol 0.5

# paplay_cost FILE [SECONDS]: user+system CPU seconds of paplay playing FILE to its end, or
# stopped after SECONDS (timeout's own few instructions included).
paplay_cost() {
  local TIMEFORMAT='%3U %3S' command=(paplay "$1")
  [ -n "${2:-}" ] && command=(timeout -s INT "$2" paplay "$1")
  { time "${command[@]}" >/dev/null 2>&1 || true; } 2>&1 | awk 'NF == 2 && $1 ~ /^[0-9.]+$/ { printf "%.3f\n", $1 + $2 }'
}

# measure KEY NAME FILE [SECONDS]: ROUNDS rounds of the Play action and paplay side by side; one
# line of medians and spreads, and the medians as KEY_... figures.
measure() {
  local key=$1 name=$2 file=$3 limit=${4:-} round ours theirs press
  : > "$WORK/ours"; : > "$WORK/theirs"; : > "$WORK/ratios"; : > "$WORK/press"; : > "$WORK/wall"
  for round in $(seq "$rounds"); do
    "$BENCH" "$file" $limit > "$WORK/play.out" 2> "$WORK/play.err" &
    local bench=$!
    paplay_cost "$file" "$limit" >> "$WORK/theirs"
    wait "$bench" || { cat "$WORK/play.err" >&2; exit 1; }
    read -r ours wall _ press _ < "$WORK/play.out"
    theirs=$(tail -1 "$WORK/theirs")
    echo "$ours" >> "$WORK/ours"; echo "$wall" >> "$WORK/wall"; echo "$press" >> "$WORK/press"
    echo "$(ratio "$ours" "$theirs")" >> "$WORK/ratios"
    echo "  $name, round $round: Play action $ours s CPU over $wall s, paplay $theirs s CPU," \
         "ratio $(tail -1 "$WORK/ratios"); the press held the panel $press ms"
  done
  local cpu paplay share press_median
  cpu=$(median < "$WORK/ours"); paplay=$(median < "$WORK/theirs"); press_median=$(median < "$WORK/press")
  share=$(awk -v c="$cpu" -v w="$(median < "$WORK/wall")" 'BEGIN { printf "%.2f", 100 * c / w }')
  echo "$name: Play action $cpu s paplay $paplay s ratio $(median < "$WORK/ratios")" \
       "spread $(spread < "$WORK/ratios") share $share% press $press_median ms spread $(spread < "$WORK/press") ms"
  printf '%s\n' "${key}_cpu_s=$cpu" "${key}_paplay_cpu_s=$paplay" "${key}_share_pct=$share" "${key}_press_ms=$press_median"
}

echo "Play action against paplay, side by side, $rounds rounds (medians, spread of the rounds):"
measure play "Play action, $seconds s file" "$tone"
for minutes in 10 101; do
  long=$WORK/long-$minutes.wav
  python3 "$ROOT/bench/playback/long_wav.py" "$tone" $((minutes * 60)) "$long"
  measure "play_${minutes}min" "Play action, first $seconds s of a $minutes min file" "$long" "$seconds"
  rm -f "$long"
done
