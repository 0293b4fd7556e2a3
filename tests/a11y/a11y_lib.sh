# Shared by the tests that work the whole program under the test run's X server (DISPLAY) as a
# screen reader and a keyboard user would:
#   bash TEST.sh PROGRAM AUDIO_ENV
# The program runs with a home, take folder, sound server (.ci/audio-env.sh, with its 440 Hz
# microphone) and session bus of its own, on which the accessibility bus (at-spi2-core) runs and
# Qt offers the program to it as it does for a screen reader.
set -euo pipefail
APP=$1
. "$2"
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
PROBE="/usr/bin/python3 $HERE/atspi_probe.py"
SKIP=77
WORK=$(mktemp -d /tmp/murmora-a11y.XXXXXX)
chmod 700 "$WORK"
export HOME="$WORK/home" XDG_CACHE_HOME="$WORK/cache" QT_QPA_PLATFORM=xcb
mkdir -p "$HOME"
pids=()
BUS_PID= WM_PID=
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  [ -n "$BUS_PID" ] && kill "$BUS_PID"
  # openbox leaves its name on the root window: the next test would take it for a running one.
  [ -n "$WM_PID" ] && { wait "$WM_PID"; xprop -root -remove _NET_SUPPORTING_WM_CHECK; }
  audio_stop >/dev/null 2>&1
  rm -rf "$WORK"
}
trap 'rc=$?; set +e; cleanup; exit $rc' EXIT

fail() { echo "FAIL: $*" >&2; [ -s "$WORK/murmora.log" ] && sed 's/^/  murmora: /' "$WORK/murmora.log" >&2; exit 1; }
unavailable() { # fails in CI, skips elsewhere
  if [ "${CI:-}" = true ]; then fail "$*"; fi
  echo "SKIP: $*"; exit $SKIP
}

[ -n "${DISPLAY:-}" ] || unavailable "no DISPLAY: run under Xvfb"
xdpyinfo >/dev/null 2>&1 || unavailable "no X server at $DISPLAY"
for tool in xdotool import compare pulseaudio pactl sox dbus-daemon; do
  command -v $tool >/dev/null || unavailable "$tool is not installed"
done
[ -x /usr/libexec/at-spi-bus-launcher ] || unavailable "at-spi2-core is not installed"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || unavailable "python3-pyatspi is not installed"
[ -x "$APP" ] || fail "no program at $APP"

. "$HERE/../desktop/x_windows_lib.sh"

# The sound server first: it sets XDG_RUNTIME_DIR, where the session bus's socket goes too.
audio_start mic "$WORK/runtime" >/dev/null || unavailable "the private PulseAudio server did not start"
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --address="unix:path=$XDG_RUNTIME_DIR/bus")
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
BUS_PID=$(echo "$bus" | sed -n 2p)
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$WORK/at-spi.log" 2>&1 &
pids+=($!)
# Qt offers the program to the accessibility bus although no screen reader asked for it.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# A window manager (openbox) on the test run's X server for the length of the test.
wm_running() { # the window a window manager names on the root window is there
  local id
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*') && xwininfo -id "$id" >/dev/null 2>&1
}
start_window_manager() {
  command -v openbox >/dev/null || unavailable "openbox is not installed"
  ! wm_running || unavailable "a window manager runs already"
  openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
  WM_PID=$!
  pids+=("$WM_PID")
  for _ in $(seq 100); do wm_running && return 0; sleep 0.1; done
  fail "openbox did not start: $(cat "$WORK/openbox.log")"
}

PANEL= APP_PID=
start_app() {
  "$APP" >>"$WORK/murmora.log" 2>&1 &
  APP_PID=$!
  pids+=("$APP_PID")
  PANEL=$(wait_for_window "^Murmora$") || fail "the panel did not show"
  sleep 0.5
}
alive() { kill -0 "$APP_PID" 2>/dev/null || fail "the program died: $*"; }
# Waits up to 10 s for the program to end by itself, with status 0.
expect_end() {
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$APP_PID" 2>/dev/null && fail "the program still runs 10 s after $*"
  local status=0
  wait "$APP_PID" || status=$?
  [ "$status" = 0 ] || fail "the program ended with status $status after $*"
}

# The number of the program's streams recording from the sound server.
recordings() { pactl list source-outputs | grep -c 'application.name = "Murmora"' || true; }
# Waits up to 5 s for the program to record from the server in N streams.
expect_recordings() { # N WHAT
  for _ in $(seq 50); do [ "$(recordings)" = "$1" ] && return 0; sleep 0.1; done
  fail "the program records in $(recordings) streams, not $1, after $2"
}
# Waits up to 10 s for the window to go.
wait_gone() {
  for _ in $(seq 100); do xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0; sleep 0.1; done
  return 1
}
