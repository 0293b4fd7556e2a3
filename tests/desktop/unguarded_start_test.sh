#!/usr/bin/env bash
# Without XDG_RUNTIME_DIR the one-panel lock is kept in /tmp/murmora-UID. Planted there as a link,
# or as a folder open to other users (in a /tmp of the test's own, in a mount namespace), the
# folder is refused: each start then says which, once, on standard error, and runs its panel all
# the same.
# Usage: unguarded_start_test.sh PROGRAM
set -euo pipefail

app=$1
. "$(dirname "$0")/scratch_lib.sh"
fail() { echo "FAIL ($case): $*"; sed 's/^/  murmora: /' "$work"/$case/tmp/*.log 2>/dev/null; exit 1; }
case=setup
[ -x "$app" ] || fail "no program at $app"
unshare --user --map-current-user --mount true 2>/dev/null || unavailable "no mount namespace to plant /tmp in"

# Plants /tmp/murmora-UID in $1/tmp as the case $2 says.
plant() {
  local folder=$1/tmp/murmora-$(id -u)
  case $2 in
    link) ln -s /tmp/elsewhere "$folder" ;;
    open) mkdir "$folder" && chmod 0777 "$folder" ;;
  esac
}

# Two starts, each given 10 s to say why; both must still run then.
two_starts() {
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
    echo $running >/tmp/running' _ "$1" "$app"
}

while read -r case why; do
  root=$work/$case
  mkdir -p "$root/tmp/home" "$root/tmp/elsewhere" "$root/tmp/program"
  plant "$root" "$case"
  two_starts "$root" || fail "the namespace could not be set up"
  [ "$(cat "$root/tmp/running")" = 2 ] || fail "$(cat "$root/tmp/running") of the two starts still run"
  told="murmora: no one-panel lock (/tmp/murmora-$(id -u) $why): a later start on this display opens another panel"
  for log in first second; do
    [ "$(grep -c "one-panel lock" "$root/tmp/$log.log")" = 1 ] || fail "the $log start did not say why once"
    grep -qxF "$told" "$root/tmp/$log.log" || fail "the $log start said: $(grep "one-panel" "$root/tmp/$log.log")"
  done
  [ -z "$(ls -A "$root/tmp/elsewhere")" ] || fail "the link was followed: $(ls -A "$root/tmp/elsewhere")"
done <<'CASES'
link is a link
open is open to other users
CASES
echo "PASS"
