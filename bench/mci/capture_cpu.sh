#!/usr/bin/env bash
# CPU used to record SECONDS (default 10; 60 for the full measure) through mci-shell, against
# parec (the sound server's own recorder) and arecord (through ALSA's pulse plugin) recording the
# same source at the same time, so that all three see the same load.
# usage: bench/mci/capture_cpu.sh [SECONDS]
. "$(dirname "$0")/bench_lib.sh"
seconds=${1:-10}
record_through_mci() {
  printf '%s\n' "open new type waveaudio alias capture" "record capture" "#sleep $((seconds * 1000))" \
      "stop capture" "save capture $BENCH_DIR/mci.wav" "close capture" | "$MCI_SHELL"
}
record_with_parec() { timeout --signal=INT "$seconds" parec --file-format=wav "$BENCH_DIR/parec.wav" || true; }
cpu_seconds record_through_mci > "$BENCH_DIR/mci.cpu" &
mci_pid=$!
cpu_seconds record_with_parec > "$BENCH_DIR/parec.cpu" &
parec_pid=$!
cpu_seconds arecord -q -f cd -d "$seconds" "$BENCH_DIR/arecord.wav" > "$BENCH_DIR/arecord.cpu"
wait "$mci_pid" "$parec_pid"
mci=$(cat "$BENCH_DIR/mci.cpu")
parec=$(cat "$BENCH_DIR/parec.cpu")
arecord=$(cat "$BENCH_DIR/arecord.cpu")
echo "capture of $seconds s: mci-shell $mci s CPU, parec $parec s CPU, ratio $(ratio "$mci" "$parec") (goal <= 1.2)," \
     "arecord $arecord s CPU, ratio $(ratio "$mci" "$arecord")"
echo "capture_cpu_s=$mci"
echo "capture_parec_cpu_s=$parec"
echo "capture_arecord_cpu_s=$arecord"
startup=$(startup_cpu "open new type waveaudio alias capture" capture)
echo "  of which start-up (connection, no audio): $startup s; beyond start-up: $(difference "$mci" "$startup") s," \
     "ratio to parec $(ratio "$(difference "$mci" "$startup")" "$parec")"
echo "  lengths: mci-shell $(soxi -D "$BENCH_DIR/mci.wav") s, parec $(soxi -D "$BENCH_DIR/parec.wav") s," \
     "arecord $(soxi -D "$BENCH_DIR/arecord.wav") s"
