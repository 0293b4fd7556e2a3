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
# A test may add shell commands to cleanup_steps, run on exit once the programs are gone.
cleanup_steps=()
trap 'rc=$?; set +e; for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
      for step in "${cleanup_steps[@]}"; do eval "$step"; done; audio_stop >/dev/null 2>&1; rm -rf "$WORK"; exit $rc' EXIT

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
arm_schedule() { # WINDOW TARGET: the schedule window's file typed, "Activate" ticked, the window closed
  xdotool mousemove --window "$1" 127 148 click --repeat 3 1 # the target path box
  xdotool windowfocus --sync "$1" key ctrl+a
  xdotool type --delay 2 -- "$2"
  xdotool mousemove --window "$1" 212 146 click 1 # "Activate"
  xdotool windowfocus --sync "$1" key Escape
  sleep 0.5
  ! window_named "^Murmora - Record Panel$" >/dev/null || fail "the schedule window did not close"
}
close_button() { click_panel 148 20; }
close_app() {
  close_button
  expect_ended "after Close"
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
  local box
  box=$(wait_for_window "^$1\$" "$2") || fail "no message box, expected: ${4:0:200}"
  local differing
  differing=$(pixels_unlike_reference "$box" "$2" "$3" "$1" "$4")
  xdotool windowfocus --sync "$box" key Return
  [ "$differing" = 0 ] || fail "the box does not say \"${4:0:200}\" ($differing pixels differ)"
  sleep 0.3
}

# How many pixels of the box BOX differ from the box the reference program draws with STYLE,
# TITLE and TEXT (OVER: another window of that title, passed over).
pixels_unlike_reference() { # BOX OVER STYLE TITLE TEXT
  local reference reference_pid
  sleep 0.5
  import -window "$1" "$WORK/box.png"
  "$REFERENCE_BOX" "$3" "$4" "$5" >/dev/null &
  reference_pid=$!
  reference=$(wait_for_window "^$4\$" "$2" "$1") || fail "the reference box did not show"
  sleep 0.5
  import -window "$reference" "$WORK/reference.png"
  xdotool windowfocus --sync "$reference" key Escape
  wait "$reference_pid" || true
  compare -metric AE "$WORK/box.png" "$WORK/reference.png" null: 2>&1 || true
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

now_ns() { date +%s%N; }

# Waits for the panel's next message box, which should say WHAT; sets told_ms to the
# milliseconds since SINCE (now_ns) when it showed.
wait_until_told() { # SINCE WHAT
  wait_for_window "^Murmora$" "$PANEL" >/dev/null || fail "nobody said that $2"
  told_ms=$(( ($(now_ns) - $1) / 1000000 ))
  echo "told that $2 $told_ms ms after"
}

# within VALUE LOW HIGH
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

# The streams the program holds open on the sound server, playing or recording.
program_streams() {
  { pactl list source-outputs; pactl list sink-inputs; } 2>/dev/null |
    grep -c "application.process.id = \"$APP_PID\"" || true
}

# Asserts that the program holds no stream on the server within 3 s: streams it gave up on while
# the server did not answer are cleaned up once it answers again.
expect_no_streams() {
  for _ in $(seq 30); do [ "$(program_streams)" = 0 ] && return 0; sleep 0.1; done
  fail "the program holds $(program_streams) streams on the server: $(pactl list short source-outputs; pactl list short sink-inputs)"
}

# Asserts that FILE is a take holding the test tone for at least SECONDS.
expect_take() { # FILE SECONDS
  [ -f "$1" ] || fail "no take at $1"
  assert_tone "$1" 440 "$2" || fail "$1 does not hold $2 s of the tone"
}

# Runs openbox on the test run's X server until the test ends, for what only a window manager
# does (Alt+F4).
start_window_manager() { start_openbox "$WORK"; }

# Checks that the program asks QUESTION with Save, Discard and Cancel, by holding a picture of
# its box against the one the reference program draws, and answers it with ANSWER.
answer_save_question() { # QUESTION save|discard|cancel
  local box differing
  box=$(wait_for_window "^Murmora$" "$PANEL") || fail "no question, expected: $1"
  differing=$(pixels_unlike_reference "$box" "$PANEL" save-question Murmora "$1")
  [ "$differing" = 0 ] || fail "the box does not ask \"$1\" ($differing pixels differ)"
  case $2 in # Save is the default button; Tab goes on to Discard
    save) xdotool windowfocus --sync "$box" key Return ;;
    discard) xdotool windowfocus --sync "$box" key Tab space ;;
    cancel) xdotool windowfocus --sync "$box" key Escape ;;
  esac
  sleep 0.3
}

# Waits up to 10 s for the program to end, which must be with status 0.
expect_ended() {
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end: $*"
  local status=0
  wait "$APP_PID" || status=$?
  [ "$status" = 0 ] || fail "the program ended with status $status"
}
