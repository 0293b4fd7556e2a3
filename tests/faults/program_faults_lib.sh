# Shared by the fault tests of the whole program under the test run's X server (DISPLAY):
#   bash program_TEST.sh PROGRAM MESSAGE_BOX_REFERENCE AUDIO_ENV
# Each test runs the program with a home, take folder and sound server of its own, and works
# it with the mouse and keyboard through xdotool.
set -euo pipefail
APP=$1 REFERENCE_BOX=$2
. "$3"
SKIP=77
WORK=$(mktemp -d /tmp/murmora-fault.XXXXXX)
chmod 700 "$WORK"
export HOME="$WORK/home" XDG_CACHE_HOME="$WORK/cache" QT_QPA_PLATFORM=xcb
mkdir -p "$HOME"
TAKES="$XDG_CACHE_HOME/murmora/takes"
pids=()
trap 'rc=$?; set +e; for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done; audio_stop >/dev/null 2>&1; rm -rf "$WORK"; exit $rc' EXIT

fail() { echo "FAIL: $*" >&2; [ -s "$WORK/murmora.log" ] && sed 's/^/  murmora: /' "$WORK/murmora.log" >&2; exit 1; }
unavailable() { # fails in CI, skips elsewhere
  if [ "${CI:-}" = true ]; then fail "$*"; fi
  echo "SKIP: $*"; exit $SKIP
}

[ -n "${DISPLAY:-}" ] || unavailable "no DISPLAY: run under Xvfb"
xdpyinfo >/dev/null 2>&1 || unavailable "no X server at $DISPLAY"
for tool in xdotool import compare pulseaudio pactl sox soxi; do
  command -v $tool >/dev/null || unavailable "$tool is not installed"
done
[ -x "$APP" ] || fail "no program at $APP"

# A sound server of this test's own, at a fixed socket so that it can be started again later.
PULSE_DIR="$WORK/pulse-runtime"
server_start() { audio_start mic "$PULSE_DIR" >/dev/null || unavailable "the private PulseAudio server did not start"; }
server_kill() { audio_kill; }
# Points the program at the server's socket whether the server runs yet or not.
mkdir -m 700 -p "$PULSE_DIR"
export XDG_RUNTIME_DIR="$PULSE_DIR" PULSE_SERVER="unix:$PULSE_DIR/pulse/native"
printf 'autospawn = no\n' > "$WORK/client.conf"
export PULSE_CLIENTCONFIG="$WORK/client.conf"

. "$(dirname "${BASH_SOURCE[0]}")/../desktop/x_windows_lib.sh"

PANEL= APP_PID=
start_app() { # [launcher words...] the program runs under them (faketime, ...)
  "$@" "$APP" >> "$WORK/murmora.log" 2>&1 &
  APP_PID=$!
  pids+=("$APP_PID")
  PANEL=$(wait_for_window "^Murmora$") || fail "the panel did not show"
  sleep 0.5
}
alive() { kill -0 "$APP_PID" 2>/dev/null || fail "the program died: $*"; }
click_panel() { xdotool mousemove --window "$PANEL" "$1" "$2" sleep 0.1 click 1; sleep 0.3; }
record_button() { click_panel 81 18; }
cut_button() { click_panel 131 91; }
play_button() { click_panel 171 137; }
schedule_button() { click_panel 131 182; }
close_app() {
  click_panel 148 20
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end after Close"
  local status=0
  wait "$APP_PID" || status=$?
  [ "$status" = 0 ] || fail "the program ended with status $status"
}

# Types a name into the save dialog that is open now and accepts it.
answer_save_dialog() { # TEXT
  local dialog
  dialog=$(wait_for_window "^Save Recorded File$") || fail "no save dialog"
  xdotool windowfocus --sync "$dialog" key ctrl+a
  xdotool type --delay 2 -- "$1"
  xdotool windowfocus --sync "$dialog" key Return
}
cancel_save_dialog() {
  local dialog
  dialog=$(wait_for_window "^Save Recorded File$") || fail "no save dialog"
  xdotool windowfocus --sync "$dialog" key Escape
}

# Checks that the program shows a box titled Murmora with ICON (warning or information) and
# TEXT, by holding a picture of it against a reference box drawn with the same text; closes it.
expect_box() { # ICON TEXT
  expect_titled_box Murmora "$PANEL" "$@"
}
# The same for a box titled TITLE over the window OVER (which has that title too).
expect_titled_box() { # TITLE OVER ICON TEXT
  local title=$1 over=$2 box reference reference_pid differing
  box=$(wait_for_window "^$title\$" "$over") || fail "no message box, expected: ${4:0:200}"
  sleep 0.5
  import -window "$box" "$WORK/box.png"
  "$REFERENCE_BOX" "$3" "$title" "$4" &
  reference_pid=$!
  reference=$(wait_for_window "^$title\$" "$over" "$box") || fail "the reference box did not show"
  sleep 0.5
  import -window "$reference" "$WORK/reference.png"
  xdotool windowfocus --sync "$reference" key Return
  wait "$reference_pid" || true
  differing=$(compare -metric AE "$WORK/box.png" "$WORK/reference.png" null: 2>&1) || true
  xdotool windowfocus --sync "$box" key Return
  [ "$differing" = 0 ] || fail "the box does not say \"${4:0:200}\" ($differing pixels differ)"
  sleep 0.3
}

# Records a take of 2 s and saves it as FILE: the recorder works (again).
expect_next_take() { # FILE
  record_button
  sleep 2
  cut_button
  answer_save_dialog "$1"
  expect_box information "Recording saved as  $1"
  expect_take "$1" 1.5
}

# Asserts that FILE is a take holding the test tone for at least SECONDS.
expect_take() { # FILE SECONDS
  [ -f "$1" ] || fail "no take at $1"
  assert_tone "$1" 440 "$2" || fail "$1 does not hold $2 s of the tone"
}
