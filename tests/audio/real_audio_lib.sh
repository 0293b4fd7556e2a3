# Shared by the real audio tests: bash real_test.sh MCI_SHELL AUDIO_ENV
# Each test runs in a scratch folder of its own with its own take folder.
set -euo pipefail
MCI_SHELL=$1
. "$2"
SKIP=77
WORK=$(mktemp -d /tmp/murmora-real.XXXXXX)
export XDG_CACHE_HOME="$WORK/cache"
trap 'rc=$?; set +e; audio_stop >/dev/null 2>&1; rm -rf "$WORK"; exit $rc' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# A test that cannot reach a sound server fails in CI and is skipped elsewhere.
unavailable() {
  if [ "${CI:-}" = true ]; then fail "$*"; fi
  echo "SKIP: $*"; exit $SKIP
}

need_server() {
  pactl info >/dev/null 2>&1 || unavailable "no PulseAudio server at ${PULSE_SERVER:-the default address}"
}

# Starts a private server of this test's own (for tests that kill it or need it absent).
own_server() {
  command -v pulseaudio >/dev/null || unavailable "pulseaudio is not installed"
  audio_start mic "$@" >/dev/null || unavailable "the private PulseAudio server did not start"
}

# expect_reply OUTPUT LINE CODE [REPLY]: line LINE (from 1) of the shell's output.
expect_reply() {
  local got want
  got=$(sed -n "$2p" "$1")
  want="$3"$'\t'"${4:-}"
  [ "$got" = "$want" ] || fail "line $2 of $1: got '$got', want '$want'"
}

# The duration of a WAV file in seconds.
duration() { soxi -D "$1"; }

# within VALUE LOW HIGH
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

no_takes_left() {
  [ -z "$(find "$XDG_CACHE_HOME" -type f 2>/dev/null)" ] || fail "take files left behind: $(find "$XDG_CACHE_HOME" -type f)"
}
