# Shared by the tests that drive the real murmora.exe under Wine with xdotool, as a user would.
# usage: bash TEST.sh MURMORA_EXE AUDIO_ENV, with DISPLAY and the Wine prefix of tests/fixtures/wine-env.sh.
set -euo pipefail
MURMORA_EXE=$1
. "$2"
. "$(dirname "${BASH_SOURCE[0]}")/../desktop/x_windows_lib.sh"
SKIP=77
unavailable() {
  if [ "${CI:-}" = true ]; then fail "$*"; fi
  echo "SKIP: $*"; exit $SKIP
}
fail() { echo "FAIL: $*" >&2; sed 's/^/  murmora: /' "$WORK/murmora.log" 2>/dev/null >&2; exit 1; }
[ -n "${WINEPREFIX:-}" ] || unavailable "no Wine prefix (see tests/fixtures/wine-env.sh)"
[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 || unavailable "no X display"
for tool in xdotool sox pactl; do command -v $tool >/dev/null || unavailable "$tool is not installed"; done

# A folder with a blank in its name inside the prefix's drive C:, as Windows sees it and as Linux does.
WORK="$WINEPREFIX/drive_c/murmora test $$"
WORK_WIN="C:\\murmora test $$"
mkdir -p "$WORK"
# Wine's Windows user, the folders of the user's own, and the take folder of murmora.exe.
USER_NAME=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public | head -n1)
USER_FOLDER="$WINEPREFIX/drive_c/users/$USER_NAME"
TAKES="$USER_FOLDER/AppData/Local/Murmora/takes"
PANEL_PID=
# The panel is closed as a user closes it, with its Close button. One that does not end is
# killed, and the take it may leave is removed: the next test starts with no take to recover.
end_panel() {
  [ -n "$PANEL_PID" ] || return 0
  click_panel 148 20
  for _ in $(seq 30); do kill -0 "$PANEL_PID" 2>/dev/null || { PANEL_PID=; return 0; }; sleep 0.1; done
  kill -KILL "$PANEL_PID" 2>/dev/null
  wait "$PANEL_PID" 2>/dev/null
  rm -f "$TAKES"/*.wav
  PANEL_PID=
  return 1
}
# The end of every test: the Close button ends the program, which never crashed on the way.
finish() {
  end_panel || fail "the Close button did not end the program"
  ! grep -q "Unhandled" "$WORK/murmora.log" || fail "murmora.exe crashed"
  echo "PASS"
}
trap 'set +e; end_panel; wait 2>/dev/null; rm -rf "$WORK"' EXIT

# The panel's window at its place; PANEL is its id, PANEL_X and PANEL_Y its top-left corner.
# start_panel [WINDOWS COMMAND...]: started by that command, not by murmora.exe itself.
start_panel() {
  if [ $# -eq 0 ]; then set -- "$MURMORA_EXE"; fi
  wine "$@" >"$WORK/murmora.log" 2>&1 &
  PANEL_PID=$!
  PANEL=$(wait_for_window '^Murmora$') || fail "the panel did not appear"
  eval "$(xdotool getwindowgeometry --shell "$PANEL")"
  PANEL_X=$X PANEL_Y=$Y PANEL_WIDTH=$WIDTH PANEL_HEIGHT=$HEIGHT
}

# Starts notepad, another Wine program, for as long as the test runs; `notepad` is its window.
start_notepad() {
  wine notepad >/dev/null 2>&1 &
  NOTEPAD_PID=$!
  trap 'set +e; end_panel; kill "$NOTEPAD_PID" 2>/dev/null; wait 2>/dev/null; rm -rf "$WORK"' EXIT
  notepad=$(wait_for_window 'Notepad') || fail "notepad did not start"
}

# click_panel X Y: a left click at a point of the panel.
click_panel() {
  xdotool mousemove $((PANEL_X + $1)) $((PANEL_Y + $2)) sleep 0.1 click 1
}
click_record() { click_panel 80 18; }
click_stop() { click_panel 131 91; }
click_convert() { click_panel 91 137; }
click_play() { click_panel 171 137; }

# answer_dialog TITLE TEXT: types TEXT into the file dialog of that title and confirms it.
answer_dialog() {
  local dialog
  dialog=$(wait_for_window "^$1\$") || fail "no \"$1\" dialog"
  xdotool windowfocus --sync "$dialog" type --delay 10 "$2"
  xdotool key --window "$dialog" Return
  wait_gone "$dialog" || fail "the \"$1\" dialog did not close"
}

# A message box of the program (titled "Murmora", not the panel): its text is not readable from
# here, so it is closed with Return; fails when none shows.
close_message_box() {
  local box
  box=$(wait_for_window '^Murmora$' "$PANEL") || fail "no message box"
  xdotool windowfocus --sync "$box" key Return
  wait_gone "$box" || fail "the message box did not close"
}

# The text of the program's message box that shows now (panel_probe.exe, PANEL_PROBE), which
# must be TEXT; the box is closed with Return.
expect_message() { # TEXT
  local said
  said=$(wine "$PANEL_PROBE" message | tr -d '\r') || fail "no message box, expected: $1"
  [ "$said" = "$1" ] || fail "the message box says \"$said\", not \"$1\""
  close_message_box
}

# The panel's longest time to answer: panel_probe.exe asks it over and over for SECONDS from now
# (watch_stalls); longest_stall waits for it to end and sets LONGEST_STALL to the longest answer
# in ms.
watch_stalls() { # SECONDS [save]: with save, from the save dialog's end to the save's message
  wine "$PANEL_PROBE" stall "$@" >"$WORK/stall" 2>&1 &
  STALL_PROBE=$!
  sleep 0.5 # started
}
longest_stall() {
  wait "$STALL_PROBE" || fail "the stall probe failed: $(cat "$WORK/stall")"
  LONGEST_STALL=$(sed -n 's/^\([0-9]*\) ms longest.*/\1/p' "$WORK/stall")
  echo "the panel's longest answer: $(cat "$WORK/stall")"
}

# A sound server of the test's own, for the tests that stop, kill or silence it: murmora.exe
# started after this records from it.
# Called again, it starts the server again at the same address. (Its folder is not WORK, whose
# name has a blank, which the server's address may not.)
own_server() {
  [ -n "${PULSE_DIR:-}" ] || PULSE_DIR=$(mktemp -d /tmp/murmora-pulse.XXXXXX)
  audio_start mic "$PULSE_DIR" >/dev/null || unavailable "the private PulseAudio server did not start"
  # The server and its feed end before the rest is waited for: they never end by themselves (a
  # server a test left stopped goes on first, to take its end).
  trap 'set +e; end_panel; audio_resume; audio_stop >/dev/null 2>&1; wait 2>/dev/null; rm -rf "$WORK" "$PULSE_DIR"' EXIT
}

now() { date +%s.%N; }
seconds_since() { awk -v from="$1" -v to="$(now)" 'BEGIN { printf "%.3f", to - from }'; }
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

wait_gone() { for _ in $(seq 100); do xdotool getwindowname "$1" >/dev/null 2>&1 || return 0;
  xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0; sleep 0.1; done; return 1; }

# wait_file PATH: waits up to 15 s for a file to exist and stop growing.
wait_file() {
  local size=-1 now
  for _ in $(seq 150); do
    if [ -f "$1" ]; then now=$(stat -c %s "$1"); [ "$now" = "$size" ] && [ "$now" -gt 0 ] && return 0; size=$now; fi
    sleep 0.1
  done
  return 1
}

# timed_take SECONDS: a take from the record button's click to the Stop button's; the clicks alone
# are timed (the pointer is over each button before). RAN is how long it ran, in seconds.
timed_take() {
  local started
  xdotool mousemove $((PANEL_X + 80)) $((PANEL_Y + 18)) sleep 0.2 click 1
  started=$(now)
  xdotool mousemove $((PANEL_X + 131)) $((PANEL_Y + 91))
  sleep "$(awk -v s="$(seconds_since "$started")" -v t="$1" 'BEGIN { print t - s }')"
  xdotool click 1
  RAN=$(seconds_since "$started")
}

# record_take SECONDS NAME: records with the buttons and saves as NAME in $WORK through the save dialog.
record_take() {
  click_record
  sleep "$1"
  click_stop
  answer_dialog "Save Recorded File" "$WORK_WIN\\$2"
  close_message_box # "Recording saved as  ..."
}
