#!/usr/bin/env bash
# Start-up of the panel against a minimal Qt window, in the same run: the time from launch to
# the MapNotify of its window (map-watch reads the X server's events), and the resident memory a
# second later. Prints figures only.
# usage: bench/startup/run.sh [runs=9]   (starts its own Xvfb without a window manager)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-9}
build=${BUILD_DIR:-build}
# A home and take folder of the benchmark's own: nothing of the user's is found or touched.
home=$(mktemp -d)
export HOME="$home" XDG_CACHE_HOME="$home/cache"
xvfb=
# The X server is waited for as it ends, so that a next run can have its display number.
trap 'rm -rf "$home"; [ -z "$xvfb" ] || { kill $xvfb; wait $xvfb; } 2>/dev/null' EXIT

export DISPLAY=:${BENCH_DISPLAY:-95}
# -noreset: otherwise the server resets whenever its last client goes, between two runs, and
# drops the next run's connection.
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
kill -0 $xvfb 2>/dev/null || { echo "Xvfb could not start on $DISPLAY" >&2; exit 1; }

# Milliseconds from launch to the program's first MapNotify, then the resident KiB a second later.
measure() {
    local ms pid rss
    read -r ms pid < <("$build/map-watch" "$1" 2>/dev/null)
    sleep 1
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    echo "$ms $rss"
}

# Instructions the program ran from launch to its MapNotify, counted by callgrind (dumped once the
# window is mapped): unlike the time, the count does not swing with the machine's load.
instructions() {
    local ms pid dump
    dump=$(mktemp -d)
    read -r ms pid < <("$build/map-watch" valgrind --tool=callgrind --callgrind-out-file="$dump/run.%p" "$1" 2>/dev/null)
    callgrind_control -d "$pid" >/dev/null 2>&1
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    awk '/^summary:/ { print $2 }' "$dump/run.$pid.1"
    rm -rf "$dump"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

declare -A times rss
for name in minimal murmora; do times[$name]=""; rss[$name]=""; done
for _ in $(seq "$runs"); do
    read -r t r < <(measure "$build/minimal-window"); times[minimal]+="$t"$'\n'; rss[minimal]+="$r"$'\n'
    read -r t r < <(measure "$build/murmora"); times[murmora]+="$t"$'\n'; rss[murmora]+="$r"$'\n'
done

tm=$(printf '%s' "${times[minimal]}" | median); tp=$(printf '%s' "${times[murmora]}" | median)
rm_=$(printf '%s' "${rss[minimal]}" | median); rp=$(printf '%s' "${rss[murmora]}" | median)
printf '%-34s %10s %12s %8s\n' "start-up ($runs runs, median)" murmora "minimal Qt" ratio
printf '%-34s %10s %12s %8s\n' "time to MapNotify (ms)" "$tp" "$tm" "$(awk -v a="$tp" -v b="$tm" 'BEGIN{printf "%.2f", a/b}')"
printf '%-34s %10s %12s %8s\n' "resident memory after 1 s (MiB)" "$(awk -v a="$rp" 'BEGIN{printf "%.1f", a/1024}')" \
    "$(awk -v a="$rm_" 'BEGIN{printf "%.1f", a/1024}')" "$(awk -v a="$rp" -v b="$rm_" 'BEGIN{printf "%.2f", a/b}')"
echo "startup_ms=$tp"
echo "startup_minimal_ms=$tm"
echo "startup_rss_mib=$(awk -v a="$rp" 'BEGIN{printf "%.1f", a/1024}')"
echo "startup_minimal_rss_mib=$(awk -v a="$rm_" 'BEGIN{printf "%.1f", a/1024}')"
if command -v valgrind >/dev/null && command -v callgrind_control >/dev/null; then
    im=$(instructions "$build/minimal-window"); ip=$(instructions "$build/murmora")
    printf '%-34s %10s %12s %8s\n' "instructions to MapNotify (M)" "$(awk -v a="$ip" 'BEGIN{printf "%.1f", a/1e6}')" \
        "$(awk -v a="$im" 'BEGIN{printf "%.1f", a/1e6}')" "$(awk -v a="$ip" -v b="$im" 'BEGIN{printf "%.2f", a/b}')"
    echo "startup_instructions_m=$(awk -v a="$ip" 'BEGIN{printf "%.1f", a/1e6}')"
    echo "startup_minimal_instructions_m=$(awk -v a="$im" 'BEGIN{printf "%.1f", a/1e6}')"
fi
