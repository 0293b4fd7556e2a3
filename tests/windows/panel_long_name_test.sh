#!/usr/bin/env bash
# The real panel under Wine: a name longer than the file system takes (260 characters) is
# refused by a message over the save dialog, the dialog asks again, and the take saved under
# another name holds the tone. The long name is typed at the root of drive C: Wine 8's own
# dialog crashes once the whole path passes about 270 characters.
. "$(dirname "$0")/panel_lib.sh"
start_panel
click_record
sleep 2
click_stop
dialog=$(wait_for_window '^Save Recorded File$') || fail "no save dialog"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
dialog_height=$HEIGHT
long="$(head -c 256 /dev/zero | tr '\0' a).wav"
xdotool windowfocus --sync "$dialog" type --delay 2 "C:\\$long"
xdotool key --window "$dialog" Return
wait_gone "$dialog" || fail "the dialog did not take the name"
box=$(wait_for_window '^Save Recorded File$') || fail "no message over the dialog"
eval "$(xdotool getwindowgeometry --shell "$box")"
[ "$HEIGHT" -lt "$dialog_height" ] || fail "the save dialog came again without a message"
xdotool windowfocus --sync "$box" key Return
wait_gone "$box" || fail "the message did not close"
[ ! -e "$WINEPREFIX/drive_c/$long" ] || fail "a file of the long name was made"
dialog=$(wait_for_window '^Save Recorded File$') || fail "the save dialog did not come again"
xdotool windowfocus --sync "$dialog" key End shift+Home BackSpace type --delay 10 "$WORK_WIN\\kept take.wav"
xdotool key --window "$dialog" Return
close_message_box # "Recording saved as  ..."
wait_file "$WORK/kept take.wav" || fail "the take was not kept for the second save"
assert_tone "$WORK/kept take.wav" 440 1.5 || fail "the kept take does not hold the tone"
finish
