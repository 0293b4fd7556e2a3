#!/usr/bin/env bash
# Resident memory of mci-shell while it records: after FIRST seconds and after LAST seconds
# (defaults 20 and 120; 60 and 600 for the full measure).
# usage: bench/mci/memory.sh [FIRST] [LAST]
. "$(dirname "$0")/bench_lib.sh"
first=${1:-20}
last=${2:-120}
fifo=$BENCH_DIR/commands
mkfifo "$fifo"
"$MCI_SHELL" < "$fifo" > "$BENCH_DIR/out" &
shell=$!
exec 3> "$fifo"
printf '%s\n' "open new type waveaudio alias capture" "record capture" >&3
rss() { awk '/^VmRSS/ { print $2 }' "/proc/$shell/status"; }
sleep "$first"; early=$(rss)
sleep $((last - first)); late=$(rss)
printf '%s\n' "stop capture" "status capture length" "close capture" >&3
exec 3>&-
wait "$shell"
echo "resident memory while recording: $early KiB after $first s, $late KiB after $last s," \
     "growth $((late - early)) KiB (goal <= 2048)"
echo "memory_early_kib=$early"
echo "memory_late_kib=$late"
echo "  take length at stop: $(sed -n 4p "$BENCH_DIR/out" | cut -f2) ms"
