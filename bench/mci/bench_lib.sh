# Shared by the MCI benchmarks: a private PulseAudio server with the 440 Hz microphone, the
# build folder, and CPU time of a command.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$ROOT/bench/stats.sh"
MCI_SHELL=$(built mci-shell)
audio_work bench
BENCH_DIR=$WORK

# cpu_seconds COMMAND...: user+system CPU seconds the command and its children used.
cpu_seconds() {
  local TIMEFORMAT='%3U %3S'
  # Only time's own line counts: whatever else reaches this stderr is not a figure.
  { time "$@" >/dev/null 2>&1; } 2>&1 | awk 'NF == 2 && $1 ~ /^[0-9.]+$/ { t = $1 + $2 } END { printf "%.3f", t }'
}

# CPU of starting mci-shell and opening a device without any audio flowing: the libraries and
# the connection to the server. Paid once per process.
startup_cpu() {
  startup_commands() { printf '%s\n' "$1" "close $2" | "$MCI_SHELL"; }
  cpu_seconds startup_commands "$1" "$2"
}

difference() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a - b }'; }
