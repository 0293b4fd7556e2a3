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
