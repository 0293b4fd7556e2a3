#!/usr/bin/env bash
# CPU of the panel's Play action during the playback of a SECONDS-long WAV (default 30), against
# paplay playing the same file at the same time, on a private PulseAudio server. Prints figures
# only. Build play-action-bench first (in build/, or the folder in MURMORA_BUILD).
# usage: bench/playback/run.sh [SECONDS]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${MURMORA_BUILD:-$ROOT/build}
BENCH=$BUILD/play-action-bench
seconds=${1:-30}
[ -x "$BENCH" ] || { echo "build play-action-bench first (looked in $BUILD; set MURMORA_BUILD)" >&2; exit 1; }

. "$ROOT/.ci/audio-env.sh"
WORK=$(mktemp -d /var/tmp/murmora-play-bench.XXXXXX)
export XDG_CACHE_HOME="$WORK/cache"
trap 'rc=$?; set +e; audio_stop >/dev/null 2>&1; rm -rf "$WORK"; exit $rc' EXIT
audio_start mic >/dev/null

file=$WORK/tone.wav
sox -q -n -r 44100 -c 2 -b 16 "$file" synth "$seconds" sine 440 vol 0.5

# paplay: user+system CPU seconds and wall seconds.
paplay_cost() {
  local TIMEFORMAT='%3U %3S %3R'
  { time paplay "$file" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.3f %.3f\n", $1 + $2, $3 }'
}
"$BENCH" "$file" > "$WORK/play.out" 2> "$WORK/play.err" &
bench=$!
paplay_cost > "$WORK/paplay.out"
wait "$bench" || { cat "$WORK/play.err" >&2; exit 1; }

read -r play_cpu play_wall < "$WORK/play.out"
read -r paplay_cpu paplay_wall < "$WORK/paplay.out"
awk -v s="$seconds" -v pc="$play_cpu" -v pw="$play_wall" -v qc="$paplay_cpu" -v qw="$paplay_wall" 'BEGIN {
  printf "playback of a %s s WAV, both at the same time:\n", s
  printf "  Play action  %7.3f s CPU over %6.2f s = %5.2f%% of a core\n", pc, pw, 100 * pc / pw
  printf "  paplay       %7.3f s CPU over %6.2f s = %5.2f%% of a core\n", qc, qw, 100 * qc / qw
  printf "  the end reached the panel %.0f ms after the length of the file, the start of the stream included\n", 1000 * (pw - s)
  printf "  ratio %.2f (goal <= 1.5); Play action %.2f%% of a core (goal <= 2%%)\n", (qc > 0 ? pc / qc : 0), 100 * pc / pw
}'
