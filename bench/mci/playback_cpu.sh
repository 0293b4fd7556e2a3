#!/usr/bin/env bash
# CPU used to play a SECONDS-long WAV (default 10; 60 for the full measure) through mci-shell,
# against paplay playing the same file at the same time (so both see the same load). aplay,
# which reaches the server through ALSA's pulse plugin, is measured next.
# usage: bench/mci/playback_cpu.sh [SECONDS]
. "$(dirname "$0")/bench_lib.sh"
seconds=${1:-10}
file=$BENCH_DIR/tone.wav
sox -q -n -r 44100 -c 2 -b 16 "$file" synth "$seconds" sine 440 vol 0.5
# Sleeps for the length of the file, then polls the mode every 100 ms until it has played: the
# device's cost, not that of the shell reading and answering commands (the Play action's wait
# is measured by bench/playback). The commands are written out first so that only mci-shell
# is measured.
{ printf '%s\n' "open $file type waveaudio alias voice1" "play voice1" "#sleep $((seconds * 1000))"
  for _ in $(seq 50); do printf '%s\n' "#sleep 100" "status voice1 mode"; done
  echo "close voice1"; } > "$BENCH_DIR/play.commands"
play_through_mci() { "$MCI_SHELL" < "$BENCH_DIR/play.commands" > "$BENCH_DIR/play.out"; }
cpu_seconds play_through_mci > "$BENCH_DIR/mci.cpu" &
mci_pid=$!
cpu_seconds paplay "$file" > "$BENCH_DIR/paplay.cpu"
wait "$mci_pid"
mci=$(cat "$BENCH_DIR/mci.cpu")
paplay=$(cat "$BENCH_DIR/paplay.cpu")
played=$(grep -c $'\tplaying' "$BENCH_DIR/play.out" || true)
echo "playback of $seconds s: mci-shell $mci s CPU, paplay $paplay s CPU, ratio $(ratio "$mci" "$paplay") (goal <= 1.5)"
echo "playback_cpu_s=$mci"
echo "playback_paplay_cpu_s=$paplay"
startup=$(startup_cpu "open $file type waveaudio alias voice1" voice1)
echo "  of which start-up (connection, no audio): $startup s; beyond start-up: $(difference "$mci" "$startup") s," \
     "ratio $(ratio "$(difference "$mci" "$startup")" "$paplay")"
aplay=$(cpu_seconds aplay -q "$file")
echo "  aplay (through the ALSA pulse plugin): $aplay s CPU;" \
     "mci-shell beyond start-up against it: $(ratio "$(difference "$mci" "$startup")" "$aplay")"
echo "  mode read playing for $(awk -v n="$played" -v s="$seconds" 'BEGIN { printf "%.1f", s + n / 10 }') s"
