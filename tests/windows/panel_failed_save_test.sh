#!/usr/bin/env bash
# The real panel under Wine: a take whose save fails (the file chosen is read-only) is kept:
# the user is told, the save dialog comes again, and the take saved under another name holds
# the tone.
. "$(dirname "$0")/panel_lib.sh"
echo "not a take" >"$WORK/locked.wav"
chmod 444 "$WORK/locked.wav"
start_panel
click_record
sleep 2
click_stop
dialog=$(wait_for_window '^Save Recorded File$') || fail "no save dialog"
xdotool windowfocus --sync "$dialog" type --delay 10 "$WORK_WIN\\locked.wav"
xdotool key --window "$dialog" Return
# Windows asks before it replaces the file: yes.
confirm=$(wait_for_window '^Save Recorded File$' "$dialog") || fail "no question before replacing the file"
xdotool windowfocus --sync "$confirm" key y
close_message_box # the save failed
[ "$(cat "$WORK/locked.wav")" = "not a take" ] || fail "the read-only file was changed"
answer_dialog "Save Recorded File" "$WORK_WIN\\kept take.wav"
close_message_box # "Recording saved as  ..."
wait_file "$WORK/kept take.wav" || fail "the take was not kept for the second save"
assert_tone "$WORK/kept take.wav" 440 1.5 || fail "the kept take does not hold the tone"
finish
