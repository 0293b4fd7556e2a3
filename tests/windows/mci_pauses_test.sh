#!/usr/bin/env bash
# mci-shell.exe under Wine: a take over WASAPI paused and resumed three times holds the four
# seconds recorded outside the pauses, the tone running through every join.
. "$(dirname "$0")/engine_lib.sh"
need_server
take="$WORK/paused take.wav"
pause_commands "$(winpath "$take")" | timeout 60 wine "$MCI_SHELL" > "$WORK/out"
cat "$WORK/out"
expect_paused_take "$WORK/out" "$take"
