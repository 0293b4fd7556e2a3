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

# The quietest 10 ms of a take, as the share of full scale its peak reaches: the 440 Hz tone,
# about half of full scale, is in every 10 ms of a take with no gap.
quietest_10ms() {
  sox "$1" -t raw -e signed -b 16 -c 1 - remix 1 | /usr/bin/python3 -c '
import sys, array
samples = array.array("h", sys.stdin.buffer.read())
window = 441
print(min(max(abs(s) for s in samples[i:i + window]) for i in range(0, len(samples) - window + 1, window)) / 32768)'
}

# pause_commands TAKE: a take of 1 s, then three times a pause of 1 s and a second more recorded,
# with its mode asked during each pause, saved at TAKE: 14 commands.
pause_commands() {
  printf '%s\n' "open new type waveaudio alias capture" "record capture" "#sleep 1000"
  for _ in 1 2 3; do
    printf '%s\n' "pause capture" "status capture mode" "#sleep 1000" "resume capture" "#sleep 1000"
  done
  printf '%s\n' "stop capture" "save capture $1" "close capture"
}

# expect_paused_take OUTPUT TAKE: every command of pause_commands answered, the mode "paused"
# during each pause, and the take holds the 4 s recorded outside them, the tone unbroken.
expect_paused_take() {
  local line length quietest
  for line in 1 2 3 5 6 8 9 11 12 13 14; do expect_reply "$1" $line 0; done
  for line in 4 7 10; do expect_reply "$1" $line 0 paused; done
  assert_tone "$2" 440 3.9 || fail "the take does not hold the 440 Hz tone"
  length=$(duration "$2")
  within "$length" 3.9 4.15 || fail "the take lasts $length s, not the 4 s recorded outside the pauses"
  quietest=$(quietest_10ms "$2")
  awk -v q="$quietest" 'BEGIN { exit !(q > 0.3) }' || fail "10 ms of the take are silent (peak $quietest): a gap at a join"
  echo "PASS: $length s of 440 Hz, the quietest 10 ms at $quietest of full scale"
}

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
