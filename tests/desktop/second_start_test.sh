#!/usr/bin/env bash
# A second start under a window manager (openbox, run for this test): it brings the running
# panel to the front, from behind another window and from minimized, and ends at once with
# status 0, showing nothing of its own (no second panel, no hotkey message). The same without a
# session bus and without XDG_RUNTIME_DIR; and a panel killed outright leaves nothing that stops
# the next start.
# Usage: second_start_test.sh PROGRAM MESSAGE_BOX_REFERENCE
set -euo pipefail

app=$1 other_window=$2
. "$(dirname "$0")/scratch_lib.sh"
. "$(dirname "$0")/x_windows_lib.sh"
fail() { echo "FAIL: $*"; sed 's/^/  murmora: /' "$work"/murmora*.log 2>/dev/null; exit 1; }
need_x_server_and openbox xdotool xprop xwininfo
[ -x "$app" ] || fail "no program at $app"

start_openbox "$work"
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"

panels() { xdotool search --onlyvisible --name '^Murmora$' 2>/dev/null | wc -l; }
active() { xdotool getactivewindow 2>/dev/null || true; }
on_top() { xprop -root _NET_CLIENT_LIST_STACKING | awk '{print $NF}'; }
start_first() { # [env words...]
  "$@" "$app" >"$work/murmora.log" 2>&1 &
  first=$!
  pids+=("$first")
  panel=$(wait_for_window '^Murmora$') || fail "the panel did not show"
  sleep 0.5
}
# Starts the program again; it must end within 2 s with status 0 and leave the panel in front.
second_start() { # [env words...]
  local started status=0 ended=
  started=$(date +%s%N)
  "$@" "$app" >"$work/murmora-second.log" 2>&1 &
  local second=$!
  for _ in $(seq 20); do kill -0 "$second" 2>/dev/null || { ended=1; break; }; sleep 0.1; done
  [ -n "$ended" ] || { kill "$second"; fail "the second start did not end"; }
  wait "$second" || status=$?
  [ "$status" = 0 ] || fail "the second start ended with status $status"
  [ ! -s "$work/murmora-second.log" ] || fail "the second start said: $(cat "$work/murmora-second.log")"
  echo "the second start ended after $((($(date +%s%N) - started) / 1000000)) ms"
  sleep 0.5
  [ "$(panels)" = 1 ] || fail "$(panels) panels show"
  ! window_named '^Hotkey Assign$' >/dev/null || fail "a hotkey message showed"
  [ "$(active)" = "$panel" ] || fail "the panel is not the active window: $(active)"
  [ "$(printf '0x%x' "$panel")" = "$(on_top)" ] || fail "the panel is not on top: $(xprop -root _NET_CLIENT_LIST_STACKING)"
}
other_pid=
cover_panel() { # another program's window takes the front
  [ -z "$other_pid" ] || { kill "$other_pid"; wait "$other_pid" 2>/dev/null || true; }
  "$other_window" information Other "another program" &
  other_pid=$!
  pids+=("$other_pid")
  local other
  other=$(wait_for_window '^Other$') || fail "the other window did not show"
  sleep 0.5
  [ "$(active)" = "$other" ] || fail "the other window did not take the front"
}

echo "== behind another window"
start_first
cover_panel
second_start
echo "== minimized"
xdotool windowminimize --sync "$panel"
second_start
xprop -id "$panel" WM_STATE | grep -q 'window state: Normal' || fail "the panel is still minimized"
kill "$first"; wait "$first" 2>/dev/null || true

echo "== without a session bus and without XDG_RUNTIME_DIR"
start_first env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR
cover_panel
second_start env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR

echo "== a panel killed outright: the next start shows a panel"
kill -KILL "$first"; wait "$first" 2>/dev/null || true
for _ in $(seq 50); do [ "$(panels)" = 0 ] && break; sleep 0.1; done
start_first
[ "$(panels)" = 1 ] || fail "$(panels) panels show after the restart"
echo "PASS"
