# Shared by the tests of the take engine over WASAPI under Wine: bash TEST.sh ENGINE_PROBE AUDIO_ENV,
# in the Wine prefix of tests/fixtures/wine-env.sh. Each runs in a scratch folder of its own (WORK), which
# Windows sees on drive Z:.
. "$(dirname "$0")/../audio/real_audio_lib.sh"
PROBE=$MCI_SHELL
[ -n "${WINEPREFIX:-}" ] || unavailable "no Wine prefix (see tests/fixtures/wine-env.sh)"

# The Windows name of a Linux path.
winpath() { local path=${1//\//\\}; echo "Z:$path"; }

# Seconds between two readings of `date +%s.%N`.
seconds_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# start_probe ARGS...: runs the probe in the background, its output (and errors) to be read from
# the descriptor $from_probe until it ends, its input written to $to_probe; $probe is its process.
start_probe() {
  mkfifo "$WORK/probe-input"
  exec {from_probe}< <(exec timeout 60 wine "$PROBE" "$@" < "$WORK/probe-input" 2>&1)
  probe=$!
  exec {to_probe}> "$WORK/probe-input"
}

# probe_end: waits for the probe to end, shows the rest of what it said, and answers its exit
# status. (Reads with a time limit: Wine's services, when the probe was the first program of the
# prefix to start them, keep its output open after it ended.)
probe_end() {
  local status=0 line
  wait "$probe" || status=$?
  while read -r -t 1 line <&"$from_probe"; do echo "$line"; done
  return $status
}
