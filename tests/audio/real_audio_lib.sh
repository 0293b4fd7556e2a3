# Shared by the tests that drive the MCI service through mci-shell: bash TEST.sh MCI_SHELL AUDIO_ENV
# Each test runs in a scratch folder of its own with its own take folder, on the test run's
# sound server or one of its own (own_server: for the tests that kill it or fill the disk); a
# test may add shell commands to cleanup_steps, run on exit.
set -euo pipefail
MCI_SHELL=$1
. "$2"
SKIP=77
WORK=$(mktemp -d /tmp/murmora-real.XXXXXX)
export XDG_CACHE_HOME="$WORK/cache"
TAKES="$XDG_CACHE_HOME/murmora/takes"
cleanup_steps=()
trap 'rc=$?; set +e; for step in "${cleanup_steps[@]}"; do eval "$step"; done; audio_stop >/dev/null 2>&1; rm -rf "$WORK"; exit $rc' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# A test that lacks a service fails in CI and is skipped elsewhere.
unavailable() {
  if [ "${CI:-}" = true ]; then fail "$*"; fi
  echo "SKIP: $*"; exit $SKIP
}

need_server() {
  pactl info >/dev/null 2>&1 || unavailable "no PulseAudio server at ${PULSE_SERVER:-the default address}"
}

# Starts a private server of this test's own (for tests that kill it or need it absent).
own_server() {
  for tool in pulseaudio pactl sox soxi; do command -v $tool >/dev/null || unavailable "$tool is not installed"; done
  audio_start mic "$@" >/dev/null || unavailable "the private PulseAudio server did not start"
}

# reply OUTPUT N: the result code and reply of the Nth answer of mci-shell, as "CODE<TAB>TEXT".
reply() { sed -n "$2p" "$1"; }
expect_reply() { # OUTPUT N CODE [TEXT]
  local got want
  got=$(reply "$1" "$2")
  want="$3"$'\t'"${4:-}"
  [ "$got" = "$want" ] || fail "answer $2: got '$got', want '$want' (all: $(tr '\n\t' '| ' < "$1"))"
}

# The duration of a WAV file in seconds.
duration() { soxi -D "$1"; }

# within VALUE LOW HIGH
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

no_takes_left() {
  [ -z "$(find "$XDG_CACHE_HOME" -type f 2>/dev/null)" ] || fail "take files left behind: $(find "$XDG_CACHE_HOME" -type f)"
}

# expect_held_take OUTPUT TAKE: the take a Windows recorder saved holds the tone, and lasts as long
# as its OUTPUT says it was recording ("held between SHORTEST and LONGEST s", as its own clock
# saw it: a loaded machine may oversleep), ± 0.1 s, at 44,100 Hz, 16-bit, stereo.
expect_held_take() {
  local shortest longest length
  read -r shortest longest < <(echo "$1" | sed -n 's/^held between \([0-9.]*\) and \([0-9.]*\) s.*/\1 \2/p')
  [ -n "$longest" ] || fail "the recorder did not say how long it held the take"
  assert_tone "$2" 440 2.9 || fail "the take does not hold the 440 Hz tone"
  length=$(duration "$2")
  within "$length" "$(awk -v s="$shortest" 'BEGIN { print s - 0.1 }')" "$(awk -v l="$longest" 'BEGIN { print l + 0.1 }')" ||
    fail "the take lasts $length s, not the $shortest to $longest s it was recording"
  [ "$(soxi -r "$2")" = 44100 ] && [ "$(soxi -c "$2")" = 2 ] && [ "$(soxi -b "$2")" = 16 ] ||
    fail "the take is not 44,100 Hz 16-bit stereo"
}
