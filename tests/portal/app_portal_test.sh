#!/usr/bin/env bash
# The whole program's hotkeys through the fake portal (run by with_fake_portal.sh), with the
# variables of a Wayland session, the panel on the test run's X display and a sound server
# with a microphone:
#   - without a portal on the bus it says so and uses the X11 grabs;
#   - with the portal, Activated("record") starts a take (a source-output appears) and
#     Activated("stop") asks where to save it; at Close the session is closed;
#   - a bind the user cancels shows the "Hotkey Assign" box for both hotkeys.
# Usage: app_portal_test.sh PROGRAM MESSAGE_BOX_REFERENCE
set -euo pipefail

app=$1 reference_box=$2
here=$(dirname "$0")
. "$here/../desktop/scratch_lib.sh"
. "$here/../desktop/x_windows_lib.sh"
need_x_server_and xdotool pactl dbus-send import compare
fail() { echo "FAIL: $*"; exit 1; }
export WAYLAND_DISPLAY=wayland-murmora-test XDG_SESSION_TYPE=wayland

fake() { # METHOD [TYPE:VALUE...]: a call to the fake portal's control interface
  local method=$1
  shift
  dbus-send --session --print-reply --dest=test.FakePortal /test/FakePortal "test.FakePortal.Control.$method" "$@"
}
fake_was_called() { fake Calls | grep -qF "\"interface\": \"$1\", \"member\": \"$2\""; } # INTERFACE MEMBER

panel="" app_pid=""
start_app() {
  XDG_CURRENT_DESKTOP=KDE "$app" 2>"$work/stderr" &
  app_pid=$!
  pids+=("$app_pid")
  panel=$(wait_for_window "^Murmora$") || fail "the panel did not show"
}
close_app() {
  xdotool mousemove --window "$panel" 148 20 click 1
  for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after Close"
  wait "$app_pid" || true
}
says() { # TEXT: the program's start-up line on standard error, waited for
  for _ in $(seq 50); do grep -qF "$1" "$work/stderr" && return 0; sleep 0.1; done
  fail "standard error does not say \"$1\": $(cat "$work/stderr")"
}
until_true() { # SECONDS COMMAND...
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}
capturing() { pactl list short source-outputs | awk '$3 != "-"' | grep -q .; } # a client's, not the test microphone's

echo "== no portal on the bus: the X11 grabs"
fake Stop >/dev/null
start_app
says "murmora: global hotkeys: X11 key grabs, the desktop portal offers no global shortcuts"
close_app

echo "== the portal: Activated(record) starts a take, Activated(stop) asks where to save it"
fake Start >/dev/null
start_app
says "murmora: global hotkeys: the desktop portal (GlobalShortcuts)"
until_true 10 fake_was_called org.freedesktop.portal.GlobalShortcuts BindShortcuts || fail "the program did not bind its shortcuts"
capturing && fail "a source-output before any hotkey"
# Until the bind is answered the portal delivers nothing: press until the take starts.
until_true 10 eval 'fake Activate string:record uint64:1000 >/dev/null; capturing' ||
  fail "Activated(record) started no take"
fake Activate string:stop uint64:5000 >/dev/null
dialog=$(wait_for_window "^Save Recorded File$") || fail "Activated(stop) opened no save dialog"
xdotool windowfocus --sync "$dialog" key Escape
told=$(wait_for_window "^Murmora$" "$panel") || fail "no word that the take was not saved"
xdotool windowfocus --sync "$told" key Return
close_app
fake_was_called org.freedesktop.portal.Session Close || fail "the portal session was not closed at Close"

echo "== a cancelled bind: the Hotkey Assign box"
fake Forget >/dev/null # else the shortcuts bound above are not asked for again
fake SetBindAnswer uint32:1 dict:string:string: array:string: >/dev/null
start_app
box=$(wait_for_window "^Hotkey Assign$") || fail "no Hotkey Assign box after a cancelled bind"
refused="Can not register Hotkeys Cntl+Alt+R, Cntl+Alt+S and Cntl+Alt+P

The desktop sets the keys of Murmora's hotkeys in System Settings, Shortcuts."
hotkey_box_reads "$box" "$reference_box" "$refused" || fail "the box is not \"$refused\""
xdotool windowfocus --sync "$box" key Return
close_app

echo "PASS"
