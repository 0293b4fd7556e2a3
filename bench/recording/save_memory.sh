#!/usr/bin/env bash
# Resident memory of the panel over TAKES takes (default 30; 100 for the full measure), each
# recorded for a moment from a private microphone and saved under a name typed in the save
# dialog, then the same with the dialog cancelled. The panel runs on the platform
# QT_QPA_PLATFORM names: offscreen unless set (xcb with a DISPLAY drives it as on a desktop).
# Build save-memory-bench first (in build/, or the folder in MURMORA_BUILD).
# usage: bench/recording/save_memory.sh [TAKES]
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/bench/stats.sh"
BENCH=$(built save-memory-bench)
takes=${1:-30}
warmup=5
audio_work memory-bench
for mode in save cancel; do
  mkdir -p "$WORK/$mode"
  read -r measured early late early_heap late_heap < <("$BENCH" "$mode" $((takes + warmup)) "$WORK/$mode" "$warmup" 2>"$WORK/$mode.log") ||
    { cat "$WORK/$mode.log" >&2; exit 1; }
  echo "resident memory over $measured takes, $mode: $early KiB after the first $warmup, $late KiB after the last," \
       "growth $((late - early)) KiB (goal <= 1024); heap in use $early_heap to $late_heap KiB"
  echo "takes_${mode}_early_kib=$early"
  echo "takes_${mode}_late_kib=$late"
done
