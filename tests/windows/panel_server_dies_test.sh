#!/usr/bin/env bash
# The real panel under Wine: the sound server is killed 3.5 s into a take. Within 2 s the panel
# says how much of the take is kept and offers it for saving; the take holds the tone up to the
# kill. Once a server runs again, the next take works.
. "$(dirname "$0")/panel_lib.sh"
own_server
start_panel
click_record
started=$(now)
sleep 3.5
audio_kill
killed=$(now)
kept_for=$(seconds_since "$started")
said=$(wine "$PANEL_PROBE" message | tr -d '\r') || fail "the loss was not told"
told=$(seconds_since "$killed")
echo "told $told s after the kill"
within "$told" 0 2 || fail "the loss was told $told s after the kill, not within 2 s"
expect_message "The sound input was lost after 3 sec. The recording so far is kept."
answer_dialog "Save Recorded File" "$WORK_WIN\\kept.wav"
expect_message "Recording saved as  $WORK_WIN\\kept.wav"
length=$(soxi -D "$WORK/kept.wav")
within "$length" "$(awk -v k="$kept_for" 'BEGIN { print k - 0.5 }')" "$(awk -v k="$kept_for" 'BEGIN { print k + 0.1 }')" ||
  fail "the take holds $length s, not the $kept_for s before the kill"
assert_tone "$WORK/kept.wav" 440 3 || fail "the kept take does not hold the tone"

echo "== the server runs again: the next take works"
own_server
record_take 2 "next.wav"
assert_tone "$WORK/next.wav" 440 1.5 || fail "the next take does not hold the tone"
echo "kept $length s of the $kept_for s before the kill"
finish
