#!/usr/bin/env bash
# A take of SECONDS (default 3), paused for as long and resumed for as long again, through
# mci-shell: the sound it holds (goal: twice SECONDS, within 0.05 s), and the CPU its pause costs
# against that of a device open and idle for the same time (goal: no more).
# usage: bench/mci/pause.sh [SECONDS]
. "$(dirname "$0")/bench_lib.sh"
seconds=${1:-3}
ms=$((seconds * 1000))
take() { # COMMANDS...: a take with its commands between the open and the stop
  printf '%s\n' "open new type waveaudio alias capture" "$@" "stop capture" \
      "save capture $BENCH_DIR/take.wav" "close capture" | "$MCI_SHELL"
}
paused() { take "record capture" "#sleep $ms" "pause capture" "#sleep $ms" "resume capture" "#sleep $ms"; }
unpaused() { take "record capture" "#sleep $((2 * ms))"; }
idle() { printf '%s\n' "open new type waveaudio alias capture" "#sleep $ms" "close capture" | "$MCI_SHELL"; }
paused_cpu=$(cpu_seconds paused)
length=$(soxi -D "$BENCH_DIR/take.wav")
unpaused_cpu=$(cpu_seconds unpaused)
idle_cpu=$(cpu_seconds idle)
startup=$(startup_cpu "open new type waveaudio alias capture" capture)
pause_cost=$(difference "$paused_cpu" "$unpaused_cpu")
idle_cost=$(difference "$idle_cpu" "$startup")
echo "pause of $seconds s: the take holds $length s of sound (goal $((2 * seconds)).00 +- 0.05)"
echo "pause costs $pause_cost s CPU (the paused take $paused_cpu s, the same take unpaused $unpaused_cpu s)"
echo "idle costs $idle_cost s CPU (a device open $seconds s $idle_cpu s, open and closed $startup s; goal: pause <= idle)"
echo "pause_take_s=$length"
echo "pause_cpu_s=$pause_cost"
echo "idle_cpu_s=$idle_cost"
