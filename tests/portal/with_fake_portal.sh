#!/usr/bin/env bash
# Runs a command on a private session bus that has the fake portal on it, then stops both.
# Arguments for the fake (fake_portal.py --help) come in FAKE_PORTAL_ARGS.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

dbus-daemon --config-file="$here/session_bus.conf" --nofork --nopidfile --print-address=3 \
    3>"$work/address" 2>"$work/bus.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/address" ] && break; sleep 0.05; done
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/address")
[ -n "$DBUS_SESSION_BUS_ADDRESS" ] || { echo "with_fake_portal: no session bus" >&2; exit 1; }
export DBUS_SESSION_BUS_ADDRESS

# shellcheck disable=SC2086 # the fake's arguments are words
/usr/bin/python3 "$here/fake_portal.py" ${FAKE_PORTAL_ARGS:-} >"$work/fake.out" &
pids+=($!)
for _ in $(seq 200); do grep -q ready "$work/fake.out" 2>/dev/null && break; sleep 0.05; done
grep -q ready "$work/fake.out" || { echo "with_fake_portal: the fake portal did not start" >&2; exit 1; }

status=0
"$@" || status=$?
exit "$status"
