#!/usr/bin/env bash
# The panel while the sound server fails under a take, on a private PulseAudio server: the
# longest user-interface stall when Stop is pressed while the server is stopped, and the time
# from the server's death, and from its stop, to the message on the panel. Prints figures only. Build
# server-fault-bench first (in build/, or the folder in MURMORA_BUILD).
# usage: bench/recording/run.sh
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/bench/stats.sh"
BENCH=$(built server-fault-bench)
. "$ROOT/tests/fixtures/audio-env.sh"
WORK=$(mktemp -d /var/tmp/murmora-fault-bench.XXXXXX)
export XDG_CACHE_HOME="$WORK/cache" HOME="$WORK"
trap 'rc=$?; set +e; audio_stop >/dev/null 2>&1; rm -rf "$WORK"; exit $rc' EXIT
for mode in stall loss freeze; do
  audio_start mic >/dev/null
  # shellcheck disable=SC2086 # one argument per process
  "$BENCH" "$mode" $SERVER_PIDS 2>/dev/null
  audio_stop >/dev/null 2>&1 || true # after a killed server there is less to stop
done
