# Finding the program's windows on the test run's X display, for the tests that work it with
# xdotool.

# The id of the first visible window whose name matches $1 and that is none of the others given.
window_named() {
  local pattern=$1 id
  shift
  for id in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
    [[ " $* " == *" $id "* ]] || { echo "$id"; return 0; }
  done
  return 1
}

# The same, waiting up to 15 s for it to show.
wait_for_window() {
  local id
  for _ in $(seq 150); do id=$(window_named "$@") && { echo "$id"; return 0; }; sleep 0.1; done
  return 1
}

# Whether the "Hotkey Assign" box $1 reads $3: it is held against the box that $2
# (message_box_reference) shows with that text, since X tells nobody a window's text but two
# boxes drawn alike look alike. Uses the scratch folder `work`.
hotkey_box_reads() { # WINDOW REFERENCE_PROGRAM TEXT
  local box=$1 program=$2 text=$3 pid reference differing
  sleep 0.5 # drawn
  import -window "$box" "$work/box.png"
  "$program" critical "Hotkey Assign" "$text" &
  pid=$!
  reference=$(wait_for_window "^Hotkey Assign$" "$box") || { kill "$pid"; return 1; }
  sleep 0.5
  import -window "$reference" "$work/reference.png"
  xdotool windowfocus --sync "$reference" key Return
  wait "$pid" || true
  differing=$(compare -metric AE "$work/box.png" "$work/reference.png" null: 2>&1) || true
  [ "$differing" = 0 ]
}

# Whether a window manager runs: the window its check property names exists (a manager that
# was killed leaves the property behind on a server that does not reset).
window_manager_runs() {
  local id
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ {print $NF}')
  [ -n "$id" ] && xwininfo -id "$id" >/dev/null 2>&1
}

# Starts openbox on the display for the length of the test (its process joins `pids`), its log
# in FOLDER; skips the test when another window manager runs, fails when openbox does not come up.
start_openbox() { # FOLDER
  command -v openbox >/dev/null || unavailable "openbox is not installed"
  ! window_manager_runs || unavailable "a window manager runs already"
  openbox --sm-disable >"$1/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do window_manager_runs && return 0; sleep 0.1; done
  fail "openbox did not start: $(cat "$1/openbox.log")"
}
