#!/usr/bin/env bash
# The real panel under Wine: its Close button during a take asks whether to save the take first.
# Cancel records on; Save saves it through the save dialog, then the program ends; Discard ends
# it at once and no file is written.
. "$(dirname "$0")/panel_lib.sh"

# answer_close_question save|discard|cancel: the question shows after Close and is answered.
answer_close_question() {
  local box
  click_panel 148 20
  box=$(wait_for_window '^Murmora$' "$PANEL") || fail "no question after Close during a take"
  case $1 in # Save is the default button; Tab goes on to Discard
    save) xdotool windowfocus --sync "$box" key Return ;;
    discard) xdotool windowfocus --sync "$box" key Tab space ;;
    cancel) xdotool windowfocus --sync "$box" key Escape ;;
  esac
  wait_gone "$box" || fail "the question did not close"
}
ended() { for _ in $(seq 100); do kill -0 "$PANEL_PID" 2>/dev/null || { PANEL_PID=; return 0; }; sleep 0.1; done; return 1; }

start_panel
click_record
sleep 2
answer_close_question cancel
sleep 1
kill -0 "$PANEL_PID" || fail "the program ended after Cancel"
answer_close_question save
answer_dialog "Save Recorded File" "$WORK_WIN\\kept.wav"
close_message_box # "Recording saved as  ..."
ended || fail "the program did not end once the take was saved"
assert_tone "$WORK/kept.wav" 440 2.5 || fail "the kept take does not hold the tone"

start_panel
click_record
sleep 2
answer_close_question discard
ended || fail "the program did not end after Discard"
[ "$(ls "$WORK" | grep -c wav)" = 1 ] || fail "a file was saved after Discard: $(ls "$WORK")"
! grep -q "Unhandled" "$WORK/murmora.log" || fail "murmora.exe crashed"
echo "PASS"
