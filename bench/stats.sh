# Shared by the benchmarks' scripts, sourced once ROOT names the checkout: where the programs
# are built, a private sound server, and the median and spread of figures, one a line on stdin.
# A script stops at its first failure.
set -euo pipefail
BUILD=${MURMORA_BUILD:-$ROOT/build}
# built PROGRAM: its path in the build folder; the script stops when it is not built there.
built() {
  [ -x "$BUILD/$1" ] || { echo "build $1 first (looked in $BUILD; set MURMORA_BUILD)" >&2; exit 1; }
  echo "$BUILD/$1"
}
# median: the middle figure (the lower middle of an even count).
median() { sort -g | awk '{ a[NR] = $1 } END { if (NR) print a[int((NR + 1) / 2)] }'; }
# spread: "LEAST–MOST".
spread() { sort -g | awk 'NR == 1 { least = $1 } { most = $1 } END { if (NR) printf "%s–%s\n", least, most }'; }
# ratio A B: A / B to two places; 0 when B is 0.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
# audio_work NAME: WORK, a folder of this run's own that is its cache and home, and a private
# sound server with its microphone; both go when the script ends, after what CLEANUP says.
audio_work() {
  . "$ROOT/tests/fixtures/audio-env.sh"
  WORK=$(mktemp -d "/var/tmp/murmora-$1.XXXXXX")
  export XDG_CACHE_HOME="$WORK/cache" HOME="$WORK"
  trap 'rc=$?; set +e; eval "${CLEANUP:-}"; audio_stop >/dev/null 2>&1; rm -rf "$WORK"; exit $rc' EXIT
  audio_start mic >/dev/null
}
