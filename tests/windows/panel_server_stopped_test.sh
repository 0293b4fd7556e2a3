#!/usr/bin/env bash
# The real panel under Wine with the sound server stopped (SIGSTOP): Stop during a take, Record
# and Play are each answered with no wait on the server; the take stopped then keeps what was
# captured and is saved; Record and Play say that the server does not answer. Close ends the
# program as soon as with a server that answers. Once the server goes on, the next start records
# again.
. "$(dirname "$0")/panel_lib.sh"
own_server
start_panel
record_take 2 "to play.wav"
click_record
sleep 2
audio_pause
# Stop, Record and Play are each timed up to the dialog or message they bring, not while it
# closes: Wine under Xvfb, with no window manager to confirm that a window is hidden, holds the
# thread of a closing dialog for 2 s, a wait of Wine's own that a desktop does not have.
# The panel waits for the server 100 ms at most; then Wine makes the message box, which on a
# loaded machine takes as long again. What is caught is a wait on the stopped server itself,
# which has no end: the figure is printed, and docs/performance.md holds the target.
answers_in_time() { # ACTION: the panel's longest answer during ACTION and the 3 s after it
  watch_stalls 3
  "$1"
  longest_stall
  [ "$LONGEST_STALL" -le 1000 ] || fail "the panel did not answer for $LONGEST_STALL ms after $1"
}
answers_in_time click_stop
# Wine's driver stops a stream without a word to the server: the take ends as asked.
answer_dialog "Save Recorded File" "$WORK_WIN\\kept.wav"
expect_message "Recording saved as  $WORK_WIN\\kept.wav"
answers_in_time click_record
expect_message "The sound server does not answer: nothing is being recorded. Try again in a moment."
answers_in_time click_play
expect_message "The sound server does not answer: the recording cannot be played now. Try again in a moment."
assert_tone "$WORK/kept.wav" 440 1.5 || fail "the take stopped while the server was stopped was not kept"

# close_panel: Close, and GONE the seconds until the panel left the screen; the program ends.
close_panel() {
  local closed
  click_panel 148 20
  closed=$(now)
  while xwininfo -id "$PANEL" 2>/dev/null | grep -q IsViewable; do sleep 0.01; done
  GONE=$(seconds_since "$closed")
  for _ in $(seq 50); do kill -0 "$PANEL_PID" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$PANEL_PID" 2>/dev/null; then fail "the program did not end after Close"; fi
}

echo "== Close while the server is stopped"
# Once the panel answers again after the message box closed (see above).
watch_stalls 0.01
longest_stall
close_panel
stopped_close=$GONE
# (Its status is not asked: when a stream was tried while the server was stopped, Wine 8's sound
# driver crashes in the process's end, after the program has closed everything of its own.)
wait "$PANEL_PID" 2>/dev/null || true
PANEL_PID=

echo "== the server goes on: the next start records"
audio_resume
start_panel
record_take 2 "next.wav"
assert_tone "$WORK/next.wav" 440 1.5 || fail "the next take does not hold the tone"
# Wine under Xvfb takes its own time to take any window of the panel's off the screen (about
# 1.9 s here, whatever the server does): Close with the server stopped is held to the time it
# takes with the server running.
sleep 1
close_panel
wait "$PANEL_PID" || fail "murmora.exe did not end well"
PANEL_PID=
echo "the panel was gone $stopped_close s after Close with the server stopped, $GONE s with it running"
within "$stopped_close" 0 "$(awk -v g="$GONE" 'BEGIN { print g + 0.15 }')" ||
  fail "Close took $stopped_close s with the server stopped, not within 150 ms of the $GONE s it takes otherwise"
finish
