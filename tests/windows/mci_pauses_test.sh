#!/usr/bin/env bash
# mci-shell.exe under Wine: a take over WASAPI paused and resumed three times holds the four
# seconds recorded outside the pauses, the tone running through every join.
. "$(dirname "$0")/engine_lib.sh"
need_server
take="$WORK/paused take.wav"
status=0
pause_commands "$(winpath "$take")" | timeout 60 wine "$MCI_SHELL" > "$WORK/out" || status=$?
cat "$WORK/out"
# Wine 8's sound driver was seen to crash (SIGSEGV) in the process's end, once every command had
# been answered and the take closed: that end is told, and the answers and the take are checked.
case $status in
  0) ;;
  139) echo "note: Wine ended mci-shell.exe with SIGSEGV after its last answer" ;;
  *) fail "mci-shell.exe ended with status $status" ;;
esac
expect_paused_take "$WORK/out" "$take"
