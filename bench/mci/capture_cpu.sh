#!/usr/bin/env bash
# CPU used to record SECONDS (default 10; 60 for the full measure) through mci-shell, against
# arecord recording the same source at the same time (so both see the same load).
# usage: bench/mci/capture_cpu.sh [SECONDS]
. "$(dirname "$0")/bench_lib.sh"
seconds=${1:-10}
record_through_mci() {
  printf '%s\n' "open new type waveaudio alias capture" "record capture" "#sleep $((seconds * 1000))" \
      "stop capture" "save capture $BENCH_DIR/mci.wav" "close capture" | "$MCI_SHELL"
}
cpu_seconds record_through_mci > "$BENCH_DIR/mci.cpu" &
mci_pid=$!
cpu_seconds arecord -q -f cd -d "$seconds" "$BENCH_DIR/arecord.wav" > "$BENCH_DIR/arecord.cpu"
wait "$mci_pid"
mci=$(cat "$BENCH_DIR/mci.cpu")
arecord=$(cat "$BENCH_DIR/arecord.cpu")
echo "capture of $seconds s: mci-shell $mci s CPU, arecord $arecord s CPU, ratio $(ratio "$mci" "$arecord") (goal <= 1.5)"
startup=$(startup_cpu "open new type waveaudio alias capture" capture)
echo "  of which start-up (device list, no audio): $startup s; beyond start-up: $(difference "$mci" "$startup") s," \
     "ratio $(ratio "$(difference "$mci" "$startup")" "$arecord")"
echo "  lengths: mci-shell $(soxi -D "$BENCH_DIR/mci.wav") s, arecord $(soxi -D "$BENCH_DIR/arecord.wav") s"
