#!/usr/bin/env bash
# The real panel under Wine with drives that fill (1 MiB file systems, tmpfs, mapped as drives):
#   - a take of 10 s saved to a full drive F:: the user is told why, the save dialog comes again,
#     the take saved elsewhere holds all of it, and F: holds no file, short or partial;
#   - the drive of the take folder fills in the middle of a take: the user is told at once, and
#     the take is kept up to there and saved.
. "$(dirname "$0")/panel_lib.sh"
[ "$(id -u)" = 0 ] || unavailable "mounting the small drives needs root"
local_data="$USER_FOLDER/AppData/Local/Murmora" # the take folder's parent
drive_f="$WORK/drive f"
mkdir -p "$drive_f" "$local_data"
mount -t tmpfs -o size=1024k murmora-drive-f "$drive_f" || unavailable "no tmpfs could be mounted"
ln -sfn "$drive_f" "$WINEPREFIX/dosdevices/f:"
trap 'set +e; end_panel; wait 2>/dev/null; umount "$drive_f"; umount "$local_data" 2>/dev/null;
      rm -f "$WINEPREFIX/dosdevices/f:"; rm -rf "$WORK"' EXIT
reason="Disk full" # the system's words for ERROR_DISK_FULL (Wine 8's; Windows says more)

echo "== a take saved to a full drive"
start_panel
click_record
sleep 10
click_stop
answer_dialog "Save Recorded File" "F:\\take.wav"
expect_message "Recording could not be saved as  F:\\take.wav
The file could not be saved ($reason)

The recording is kept: choose another name or folder."
[ -z "$(ls -A "$drive_f")" ] || fail "F: holds $(ls -lA "$drive_f")"
answer_dialog "Save Recorded File" "$WORK_WIN\\kept.wav"
expect_message "Recording saved as  $WORK_WIN\\kept.wav"
assert_tone "$WORK/kept.wav" 440 9.8 || fail "the take saved elsewhere does not hold all 10 s"
end_panel || fail "the Close button did not end the program"

echo "== the take folder's drive fills during a take"
mount -t tmpfs -o size=1024k murmora-takes "$local_data" || unavailable "no tmpfs could be mounted"
start_panel
click_record
started=$(now)
said=$(wine "$PANEL_PROBE" message | tr -d '\r') || fail "the full drive was not told"
told=$(seconds_since "$started")
# 1 MiB holds about 5.9 s of 44.1 kHz 16-bit stereo.
within "$told" 4.5 7.5 || fail "the full drive was told $told s into the take, not when it filled (~5.9 s)"
expect_message "The file for the recording could not be written to its end ($reason).

What was recorded until then is kept and will be saved."
answer_dialog "Save Recorded File" "$WORK_WIN\\filled.wav"
expect_message "Recording saved as  $WORK_WIN\\filled.wav"
length=$(soxi -D "$WORK/filled.wav")
within "$length" 4.5 6.0 || fail "the take holds $length s, not the ~5.9 s that fitted"
assert_tone "$WORK/filled.wav" 440 4.5 || fail "the kept take does not hold the tone"
echo "told $told s into the take; kept $length s"
finish
