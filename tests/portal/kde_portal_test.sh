#!/usr/bin/env bash
# The whole program's hotkeys against KDE's own GlobalShortcuts portal (xdg-desktop-portal with
# xdg-desktop-portal-kde and kglobalaccel5, which grabs the keys on the X display), on a private
# session bus, with the variables of a Wayland session and another program focused:
#   - the three keys bound with no message;
#   - Ctrl+Alt+R records, Ctrl+Alt+P pauses and resumes, and Ctrl+Alt+S asks where to save; the
#     file holds the tone, and only the time recorded outside the pause;
#   - a key the user changes in kglobalaccel (as System Settings does) works, and still does
#     after the program restarts;
#   - the portal's service killed and started again mid-session: the keys still work.
# Usage: kde_portal_test.sh PROGRAM
set -euo pipefail

app=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../desktop/scratch_lib.sh"
. "$here/../desktop/x_windows_lib.sh"
fail() {
  echo "FAIL: $*"
  local log
  for log in stderr portal.log portal-kde.log kglobalaccel.log; do
    [ -s "$work/$log" ] && { echo "-- $log:"; tail -n 25 "$work/$log"; }
  done
  exit 1
}
kde_backend=$(ls /usr/lib/*/libexec/xdg-desktop-portal-kde 2>/dev/null | head -n 1 || true)
portal=/usr/libexec/xdg-desktop-portal
need_x_server_and xdotool xmessage dbus-daemon dbus-send kglobalaccel5 sox soxi
[ -x "$portal" ] || unavailable "xdg-desktop-portal is not installed"
[ -n "$kde_backend" ] || unavailable "xdg-desktop-portal-kde is not installed"

# kglobalaccel keeps the keys the user chose here.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

dbus-daemon --config-file="$here/session_bus.conf" --nofork --nopidfile --print-address=3 \
  3>"$work/bus.address" 2>"$work/bus.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/bus.address" ] && break; sleep 0.05; done
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus.address")
export DBUS_SESSION_BUS_ADDRESS

has_owner() { # NAME
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetNameOwner \
    string:"$1" >/dev/null 2>&1
}
until_true() { # SECONDS COMMAND...
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}
start_kde() { # NAME PROGRAM LOG: a KDE program on Qt's X11 platform, waited for on the bus
  QT_QPA_PLATFORM=xcb XDG_CURRENT_DESKTOP=KDE "$2" >>"$work/$3" 2>&1 &
  pids+=($!)
  until_true 20 has_owner "$1" || fail "$2 did not take $1: $(tail -n 5 "$work/$3")"
}
portal_pid=""
start_portal() {
  start_kde org.freedesktop.portal.Desktop "$portal" portal.log
  portal_pid=${pids[-1]}
}

start_kde org.kde.kglobalaccel kglobalaccel5 kglobalaccel.log
start_kde org.freedesktop.impl.portal.desktop.kde "$kde_backend" portal-kde.log
start_portal

# A program of someone else's that has the focus while the hotkeys are typed.
xmessage -title "Other Program" -geometry 240x60+700+600 "another program" &
pids+=($!)
other=$(wait_for_window "^Other Program$") || fail "the other program did not show"

panel="" app_pid=""
start_app() {
  XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=KDE "$app" 2>"$work/stderr" &
  app_pid=$!
  pids+=("$app_pid")
  panel=$(wait_for_window "^Murmora$") || fail "the panel did not show"
  until_true 10 grep -qF "the desktop portal (GlobalShortcuts)" "$work/stderr" ||
    fail "the program did not choose the portal: $(cat "$work/stderr")"
}
close_app() {
  xdotool mousemove --window "$panel" 148 20 click 1
  until_true 10 eval '! kill -0 "$app_pid" 2>/dev/null' || fail "the program did not end after Close"
  wait "$app_pid" || true
}
no_hotkey_warning() {
  sleep 1
  ! window_named "^Hotkey Assign$" >/dev/null || fail "a hotkey warning against KDE's portal"
}
press_in_other() { xdotool windowfocus --sync "$other" key --clearmodifiers "$@"; }

# KEYS_TO_RECORD KEYS_TO_STOP NAME [paused]: a take by the hotkeys, saved as NAME; it must hold the
# tone. With paused, Ctrl+Alt+P holds it for 2 s in the middle: it holds only the 3 s recorded.
record_by_hotkeys() {
  local path="$work/$3" dialog box
  press_in_other "$1"
  sleep 1.5
  if [ "${4:-}" = paused ]; then
    press_in_other ctrl+alt+p
    sleep 2
    press_in_other ctrl+alt+p
    sleep 1.5
  fi
  press_in_other "$2"
  dialog=$(wait_for_window "^Save Recorded File$") || fail "$2 opened no save dialog (a take by $1?)"
  xdotool windowfocus --sync "$dialog" key ctrl+a
  xdotool type --delay 5 "$path"
  xdotool windowfocus --sync "$dialog" key Return
  box=$(wait_for_window "^Murmora$" "$panel") || fail "no confirmation box after the save"
  xdotool windowfocus --sync "$box" key Return
  until_true 10 test -s "$path" || fail "no take was written to $path"
  local seconds rms
  seconds=$(soxi -D "$path") || fail "$path is no sound file"
  rms=$(sox "$path" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
  awk -v s="$seconds" -v r="$rms" 'BEGIN { exit !(s >= 1 && r > 0.1) }' ||
    fail "$path holds $seconds s at RMS $rms, not the tone"
  [ "${4:-}" != paused ] || awk -v s="$seconds" 'BEGIN { exit !(s >= 2.7 && s <= 3.5) }' ||
    fail "$path holds $seconds s, not the 3 s recorded outside its pause"
}

# Gives the record shortcut other keys as System Settings does: Ctrl+Alt+E, in Qt's key code.
change_record_key() {
  dbus-send --session --print-reply --dest=org.kde.kglobalaccel /kglobalaccel \
    org.kde.KGlobalAccel.setForeignShortcut array:string:murmora,record,murmora,"Start recording" \
    array:int32:$((0x04000000 | 0x08000000 | 0x45)) >/dev/null || fail "kglobalaccel took no new key"
}

echo "== the keys bound with no message; a take by Ctrl+Alt+R and Ctrl+Alt+S, paused by Ctrl+Alt+P"
start_app
no_hotkey_warning
record_by_hotkeys ctrl+alt+r ctrl+alt+s first.wav paused

echo "== the record key changed to Ctrl+Alt+E: it records, and still does after a restart"
change_record_key
record_by_hotkeys ctrl+alt+e ctrl+alt+s changed.wav
close_app
start_app
no_hotkey_warning
record_by_hotkeys ctrl+alt+e ctrl+alt+s changed-kept.wav

echo "== the portal's service killed and started again: the keys still work"
kill "$portal_pid"
until_true 10 eval '! has_owner org.freedesktop.portal.Desktop' || fail "the portal did not end"
start_portal
sleep 2
no_hotkey_warning
record_by_hotkeys ctrl+alt+e ctrl+alt+s after-restart.wav
close_app

echo "PASS"
