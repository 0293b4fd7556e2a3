#!/usr/bin/env bash
# The CPU of a take on Windows, under Wine: a take of SECONDS (default 60) through the take engine
# (CaptureRecorder over WASAPI, into a take file) and, at the same time from the same 440 Hz
# input so that both see the same load, a minimal WASAPI capture loop that only counts the
# frames. Each program measures its own process from the start of capture to its end. Prints
# figures only. Its own PulseAudio server and Wine prefix.
# usage: bench/windows/capture_cpu.sh [SECONDS]   (scripts/build-windows.sh first)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-60}
bench=${WINDOWS_BUILD_DIR:-build-windows}/capture-cpu-bench.exe
. tests/fixtures/audio-env.sh
. tests/fixtures/wine-env.sh
out=$(mktemp -d /tmp/murmora-capture-bench.XXXXXX)
trap 'wine_stop; audio_stop; rm -rf "$out"' EXIT
audio_start mic >/dev/null
wine_start
wine "$bench" recorder "$seconds" > "$out/recorder" &
recorder=$!
wine "$bench" minimal "$seconds" > "$out/minimal"
wait "$recorder"
read -r _ engine _ engine_frames _ < "$out/recorder"
read -r _ loop _ loop_frames _ < "$out/minimal"
printf '%-44s %10s %10s %8s\n' "capture under Wine, $seconds s take" engine "WASAPI loop" ratio
printf '%-44s %10s %10s %8s\n' "CPU (s), user + kernel, every thread" "$engine" "$loop" \
    "$(awk -v a="$engine" -v b="$loop" 'BEGIN { printf "%.2f", a / b }')"
printf '%-44s %10s %10s\n' "frames captured" "$engine_frames" "$loop_frames"
