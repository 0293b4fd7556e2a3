# Shared by the fault tests that drive the MCI service through mci-shell:
#   bash TEST.sh MCI_SHELL AUDIO_ENV
# Each test has a scratch folder of its own, its own take folder and its own sound server, so
# that killing the server or filling the disk touches nothing else on the machine.
set -euo pipefail
MCI_SHELL=$1
. "$2"
SKIP=77
WORK=$(mktemp -d /tmp/murmora-fault.XXXXXX)
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

duration() { soxi -D "$1"; }
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }
