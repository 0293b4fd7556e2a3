#!/usr/bin/env bash
# The Windows program under Wine: the size of murmora.exe, and its start-up against a minimal
# Win32 window built the same way, in the same run: the time from launch to the MapNotify of its
# window (map-watch of the Linux build reads the X server's events), median of several runs.
# Prints figures only.
# usage: bench/windows/run.sh [runs=9]   (its own Xvfb and Wine prefix; scripts/build.sh and
#        scripts/build-windows.sh first)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-9}
build=${BUILD_DIR:-build}
windows_build=${WINDOWS_BUILD_DIR:-build-windows}
. tests/fixtures/wine-env.sh
xvfb=
trap 'wine_stop; [ -z "$xvfb" ] || kill $xvfb 2>/dev/null' EXIT
export DISPLAY=:${BENCH_DISPLAY:-95}
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
wine_start

# Milliseconds from launch to the program's first MapNotify; the program is ended after.
measure() {
    local ms pid
    read -r ms pid < <("$build/map-watch" wine "$1" 2>/dev/null)
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    sleep 0.5 # the program's end reaches the Wine server before the next start
    echo "$ms"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

minimal="" murmora=""
for _ in $(seq "$runs"); do
    minimal+="$(measure "$windows_build/minimal-window-win32.exe")"$'\n'
    murmora+="$(measure "$windows_build/murmora.exe")"$'\n'
done
tm=$(printf '%s' "$minimal" | median) tp=$(printf '%s' "$murmora" | median)
printf '%-40s %12s\n' "murmora.exe size (bytes)" "$(stat -c %s "$windows_build/murmora.exe")"
printf '%-40s %12s\n' "minimal-window-win32.exe size (bytes)" "$(stat -c %s "$windows_build/minimal-window-win32.exe")"
printf '%-40s %10s %12s %8s\n' "start-up under Wine ($runs runs, median)" murmora.exe "minimal Win32" ratio
printf '%-40s %10s %12s %8s\n' "time to MapNotify (ms)" "$tp" "$tm" "$(awk -v a="$tp" -v b="$tm" 'BEGIN{printf "%.2f", a/b}')"
