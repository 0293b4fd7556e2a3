#!/usr/bin/env bash
# CPU of a take with the input level measured in the capture path, against the same take
# through the mci-shell of the last commit before it measured the level (built from that commit
# into the build folder once), ROUNDS times (default 1; 3 for the full measure). Both record
# SECONDS (default 10; 60 for the full measure) from the same source at the same time, so that
# both see the same load, and both are asked for the level halfway.
# usage: bench/mci/level_meter_cpu.sh [SECONDS] [ROUNDS]
#   MURMORA_LEVEL_REFERENCE: another commit to compare with
. "$(dirname "$0")/bench_lib.sh"
seconds=${1:-10}
rounds=${2:-1}
reference=${MURMORA_LEVEL_REFERENCE:-506b1305160e1050dde068d054199dc3bf6ebf7a}
reference_dir=$BUILD/bench-reference-${reference:0:12}
reference_shell=$reference_dir/build/mci-shell

if [ ! -x "$reference_shell" ]; then
  echo "building mci-shell of $reference into $reference_dir ..." >&2
  rm -rf "$reference_dir"
  mkdir -p "$reference_dir/src"
  git -C "$ROOT" archive "$reference" | tar -x -C "$reference_dir/src"
  cmake -S "$reference_dir/src" -B "$reference_dir/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$reference_dir/build" --target mci-shell -j2 >/dev/null
fi

take() { # SHELL OUT: one take, its replies to OUT
  printf '%s\n' "open new type waveaudio alias capture" "record capture" "#sleep $((seconds * 500))" \
      "status capture level" "#sleep $((seconds * 500))" "stop capture" "close capture" | "$1" > "$2"
}

# A first run of each program pays for reading it from disk; neither take should.
for shell in "$MCI_SHELL" "$reference_shell"; do
  printf '%s\n' "open new type waveaudio alias capture" "close capture" | "$shell" > /dev/null
done

metered=0 plain=0
for round in $(seq "$rounds"); do
  cpu_seconds take "$MCI_SHELL" "$BENCH_DIR/metered.out" > "$BENCH_DIR/metered.cpu" &
  metered_pid=$!
  cpu_seconds take "$reference_shell" "$BENCH_DIR/plain.out" > "$BENCH_DIR/plain.cpu"
  wait "$metered_pid"
  echo "  round $round: with the meter $(cat "$BENCH_DIR/metered.cpu") s, without $(cat "$BENCH_DIR/plain.cpu") s," \
       "level read halfway: $(sed -n 3p "$BENCH_DIR/metered.out" | cut -f2)"
  metered=$(awk -v a="$metered" -v b="$(cat "$BENCH_DIR/metered.cpu")" 'BEGIN { printf "%.3f", a + b }')
  plain=$(awk -v a="$plain" -v b="$(cat "$BENCH_DIR/plain.cpu")" 'BEGIN { printf "%.3f", a + b }')
done
level=$(sed -n 3p "$BENCH_DIR/metered.out" | cut -f2)
echo "level meter, $rounds x $seconds s: with the meter $metered s CPU, without $plain s CPU," \
     "ratio $(ratio "$metered" "$plain") (goal <= 1.05)"
echo "meter_cpu_s=$metered"
echo "meter_plain_cpu_s=$plain"
echo "  last level read: $level = $(awk -v p="$level" 'BEGIN { printf "%.1f", (p > 0 ? 20 * log(p / 32768) / log(10) : -999) }') dBFS" \
     "(the microphone's tone: -6.0); reference: ${reference:0:12}"
# The side-by-side takes differ by less than their noise; the meter's own work is measured apart.
own=$("$BUILD/mci_bench_level_peak" "$seconds" | sed -E 's/.*take: ([0-9.]+) ms.*/\1/')
echo "  the meter's own work, timed in-process: $own ms CPU a take, against" \
     "$(awk -v p="$plain" -v r="$rounds" 'BEGIN { printf "%.0f", 1000 * p / r }') ms for a take without it" \
     "($(awk -v o="$own" -v p="$plain" -v r="$rounds" 'BEGIN { printf "%.2f", (p > 0 ? 100 * o / 1000 / (p / r) : 0) }')%)"
echo "meter_own_ms=$own"
echo "meter_plain_take_ms=$(awk -v p="$plain" -v r="$rounds" 'BEGIN { printf "%.0f", 1000 * p / r }')"
