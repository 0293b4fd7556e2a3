#!/usr/bin/env bash
# Without XDG_RUNTIME_DIR the one-panel lock is kept in /tmp/murmora-UID. Planted there as a link
# (in a /tmp of the test's own, in a mount namespace), the folder is refused: each start then
# says why, once, on standard error, and runs its panel all the same.
# Usage: unguarded_start_test.sh PROGRAM
set -euo pipefail

app=$1
. "$(dirname "$0")/scratch_lib.sh"
fail() { echo "FAIL: $*"; sed 's/^/  murmora: /' "$work"/tmp/*.log 2>/dev/null; exit 1; }
[ -x "$app" ] || fail "no program at $app"
unshare --user --map-current-user --mount true 2>/dev/null || unavailable "no mount namespace to plant /tmp in"

mkdir -p "$work/tmp/home" "$work/tmp/elsewhere" "$work/tmp/program"
ln -s /tmp/elsewhere "$work/tmp/murmora-$(id -u)"
# Two starts, each given 10 s to say why; both must still run then.
unshare --user --map-current-user --mount bash -c '
  # The program may itself lie under /tmp (a checkout there): it stays in reach at /tmp/program.
  mount --bind "$(dirname "$2")" "$1/tmp/program" && mount --rbind "$1/tmp" /tmp || exit 2
  export HOME=/tmp/home XDG_CACHE_HOME=/tmp/home/cache XDG_CONFIG_HOME=/tmp/home/config \
         QT_QPA_PLATFORM=offscreen PULSE_SERVER=unix:/tmp/no-server
  unset XDG_RUNTIME_DIR DISPLAY WAYLAND_DISPLAY
  program=/tmp/program/$(basename "$2")
  "$program" >/tmp/first.log 2>&1 & first=$!
  "$program" >/tmp/second.log 2>&1 & second=$!
  for _ in $(seq 100); do
    grep -q "one-panel lock" /tmp/first.log && grep -q "one-panel lock" /tmp/second.log && break
    sleep 0.1
  done
  sleep 1
  running=0
  kill -0 $first 2>/dev/null && running=$((running + 1))
  kill -0 $second 2>/dev/null && running=$((running + 1))
  kill $first $second 2>/dev/null; wait
  echo $running >/tmp/running' _ "$work" "$app" || fail "the namespace could not be set up"

[ "$(cat "$work/tmp/running")" = 2 ] || fail "$(cat "$work/tmp/running") of the two starts still run"
told="murmora: no one-panel lock (/tmp/murmora-$(id -u) is a link, another user's folder or open to others): a later start on this display opens another panel"
for log in first second; do
  [ "$(grep -c "one-panel lock" "$work/tmp/$log.log")" = 1 ] || fail "the $log start did not say why once"
  grep -qxF "$told" "$work/tmp/$log.log" || fail "the $log start said: $(grep "one-panel" "$work/tmp/$log.log")"
done
[ -z "$(ls -A "$work/tmp/elsewhere")" ] || fail "the link was followed: $(ls -A "$work/tmp/elsewhere")"
echo "PASS"
