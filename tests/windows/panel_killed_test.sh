#!/usr/bin/env bash
# The real panel under Wine: murmora.exe is killed (SIGKILL) 10 s into a take. Its take file stays
# in the take folder; the next start moves it to Documents, named for when it was last written,
# says where it put it, and the file plays: it holds the tone up to about a second before the kill.
. "$(dirname "$0")/panel_lib.sh"
documents="$USER_FOLDER/Documents"
start_panel
click_record
sleep 10
kill -KILL "$PANEL_PID"
wait "$PANEL_PID" 2>/dev/null || true
PANEL_PID=
left=("$TAKES"/*.wav)
[ ${#left[@]} = 1 ] && [ -f "${left[0]}" ] || fail "no single take file left behind: $(ls -la "$TAKES" 2>&1)"
echo "left behind: $(basename "${left[0]}"), $(soxi -D "${left[0]}") s"

recovered="Murmora take $(date -r "${left[0]}" '+%Y-%m-%d %H-%M-%S').wav"
trap 'set +e; end_panel; wait 2>/dev/null; rm -rf "$WORK"; rm -f "$documents/$recovered"' EXIT
start_panel
expect_message "Murmora ended during a recording.

What was recorded until then is kept as  C:\\users\\$USER_NAME\\Documents\\$recovered"
[ -z "$(ls -A "$TAKES")" ] || fail "the take is still in the take folder: $(ls -A "$TAKES")"
assert_tone "$documents/$recovered" 440 8.5 || fail "the recovered take does not hold the tone up to the kill"
length=$(soxi -D "$documents/$recovered")
within "$length" 8.5 10.5 || fail "the recovered take holds $length s of the 10 s recorded"
echo "recovered $length s"
finish
