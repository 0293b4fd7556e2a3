#!/usr/bin/env bash
# The real panel under Wine: a second start of murmora.exe, while notepad is in front and again
# while the panel is minimized, brings the running panel to the front (the foreground window,
# above notepad) and ends with status 0, showing nothing of its own (no second panel, no hotkey
# message). Usage as the other panel tests, with WINDOW_STATE the window_state.exe.
. "$(dirname "$0")/panel_lib.sh"
start_panel
start_notepad
[ -n "${WINDOW_STATE:-}" ] || fail "WINDOW_STATE is not set"
panels() { xdotool search --onlyvisible --name '^Murmora$' 2>/dev/null | wc -l; }
foreground() { wine "$WINDOW_STATE" | tr -d '\r' | sed -n 1p; }
panel_state() { wine "$WINDOW_STATE" | tr -d '\r' | sed -n 2p; } # minimized or shown
# Whether the panel is above notepad (xwininfo lists the top window first).
panel_above_notepad() {
  xwininfo -root -children | awk -v p="$(printf '0x%x' "$PANEL")" -v n="$(printf '0x%x' "$notepad")" \
    '$1 == p { print "yes"; exit } $1 == n { print "no"; exit }' | grep -q yes
}
# Starts murmora.exe again; it must end within 5 s with status 0 and leave the panel in front.
second_start() {
  local status=0 ended=
  wine "$MURMORA_EXE" >"$WORK/second.log" 2>&1 &
  local second=$!
  for _ in $(seq 50); do kill -0 "$second" 2>/dev/null || { ended=1; break; }; sleep 0.1; done
  [ -n "$ended" ] || { kill "$second"; fail "the second start did not end"; }
  wait "$second" || status=$?
  [ "$status" = 0 ] || fail "the second start ended with status $status"
  sleep 0.5
  [ "$(panels)" = 1 ] || fail "$(panels) panels show"
  ! window_named '^Hotkey Assign$' >/dev/null || fail "a hotkey message showed"
  [ "$(foreground)" = Murmora ] || fail "the foreground window is \"$(foreground)\", not the panel"
  panel_above_notepad || fail "the panel is not above notepad"
}
echo "== while notepad is in front"
eval "$(xdotool getwindowgeometry --shell "$notepad")"
xdotool mousemove $((X + 100)) $((Y + 100)) click 1 # in notepad's text
sleep 0.5
[ "$(foreground)" != Murmora ] && ! panel_above_notepad || fail "notepad did not come to the front"
second_start
echo "== while the panel is minimized"
click_panel 21 20 # the Minimize button
sleep 0.5
[ "$(panel_state)" = minimized ] || fail "the panel did not minimize"
second_start
[ "$(panel_state)" = shown ] || fail "the panel is still minimized"
kill "$NOTEPAD_PID"
finish
