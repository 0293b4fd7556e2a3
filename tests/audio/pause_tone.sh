#!/usr/bin/env bash
# A take paused and resumed three times through mci-shell: the mode says "paused" meanwhile, and
# the file holds the four seconds recorded outside the pauses, the tone running through every join.
. "$(dirname "$0")/real_audio_lib.sh"
need_server
take="$WORK/paused take.wav"
pause_commands "$take" | timeout 60 "$MCI_SHELL" > "$WORK/out"
cat "$WORK/out"
expect_paused_take "$WORK/out" "$take"
no_takes_left
