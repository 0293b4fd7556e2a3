#!/usr/bin/env bash
# Frames lost while the calling thread stalls 3 s every 10 s, and captured frames against the
# wall clock, over SECONDS of recording (default 60; 600 for the full measure).
# usage: bench/mci/clock.sh [SECONDS]
. "$(dirname "$0")/bench_lib.sh"
"$BUILD/mci_bench_clock" "${1:-60}" 3 10
