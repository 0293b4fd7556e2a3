#!/usr/bin/env bash
# CPU time to encode a take of SECONDS (default 60) at a save, against the reference encoder of
# each format on the same take in the same run: FLAC against `flac -5`, Opus against
# `opusenc --bitrate 64`, MP3 against `lame -b 128`. Each figure is the least of ROUNDS runs
# (default 5), each a process of its own, start-up included on both sides. The take is a
# 44.1 kHz 16-bit stereo WAV file of pink noise on one channel and a 440 Hz tone on the other.
# Build encode-take-bench first (in build/, or the folder in MURMORA_BUILD).
# usage: bench/encoding/run.sh [SECONDS] [ROUNDS]
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/bench/stats.sh"
BENCH=$(built encode-take-bench)
seconds=${1:-60} rounds=${2:-5}
for tool in sox flac opusenc lame; do command -v $tool >/dev/null || { echo "$tool is not installed" >&2; exit 1; }; done
WORK=$(mktemp -d /var/tmp/murmora-encode-bench.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
take=$WORK/take.wav
sox -q -n -r 44100 -c 2 -b 16 "$take" synth "$seconds" pinknoise sine 440 vol 0.5

# least_cpu COMMAND...: the least user+system CPU seconds of the command over the rounds.
least_cpu() {
  local round best=
  for round in $(seq "$rounds"); do
    cpu=$( { TIMEFORMAT='%3U %3S'; time "$@" >/dev/null 2>&1; } 2>&1 |
          awk 'NF == 2 && $1 ~ /^[0-9.]+$/ { t = $1 + $2 } END { printf "%.3f", t }')
    best=$(awk -v a="$cpu" -v b="${best:-$cpu}" 'BEGIN { printf "%.3f", (a < b ? a : b) }')
  done
  echo "$best"
}

report() { # FORMAT REFERENCE_NAME OURS REFERENCE
  echo "encoding $seconds s to $1: murmora $3 s CPU, reference $4 s CPU ($2), ratio" \
       "$(awk -v a="$3" -v b="$4" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }') (goal <= 1.2)"
  echo "encode_${1,,}_cpu_s=$3"
  echo "encode_${1,,}_reference_cpu_s=$4"
}

ours=$(least_cpu "$BENCH" flac "$take" "$WORK/murmora.flac")
reference=$(least_cpu flac -5 -s -f -o "$WORK/reference.flac" "$take")
report FLAC "flac -5" "$ours" "$reference"
ours=$(least_cpu "$BENCH" opus "$take" "$WORK/murmora.opus")
reference=$(least_cpu opusenc --quiet --bitrate 64 "$take" "$WORK/reference.opus")
report Opus "opusenc --bitrate 64" "$ours" "$reference"
ours=$(least_cpu "$BENCH" mp3 "$take" "$WORK/murmora.mp3")
reference=$(least_cpu lame --quiet -b 128 "$take" "$WORK/reference.mp3")
report MP3 "lame -b 128" "$ours" "$reference"
echo "sizes (bytes): take $(stat -c %s "$take")," \
     "FLAC $(stat -c %s "$WORK/murmora.flac") (flac $(stat -c %s "$WORK/reference.flac"))," \
     "Opus $(stat -c %s "$WORK/murmora.opus") (opusenc $(stat -c %s "$WORK/reference.opus"))," \
     "MP3 $(stat -c %s "$WORK/murmora.mp3") (lame $(stat -c %s "$WORK/reference.mp3"))"
