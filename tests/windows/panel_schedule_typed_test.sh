#!/usr/bin/env bash
# The real panel under Wine: a schedule 20 s ahead set by typing into the time and duration
# boxes (the seconds finished with the Up arrow), for 3 s, records by itself at that time and
# saves the tone to its target; an hour out of range is refused with a message first.
. "$(dirname "$0")/panel_lib.sh"
start_panel
click_panel 131 182 # the clock button
schedule=$(wait_for_window '^Murmora - Record Panel$') || fail "the schedule window did not open"
eval "$(xdotool getwindowgeometry --shell "$schedule")"
# type_into X TEXT: replaces the text of the box whose middle is X across and finishes with Return.
type_into() {
  xdotool mousemove $((X + $1)) $((Y + 48)) click 1
  xdotool key End shift+Home BackSpace type --delay 20 "$2"
  xdotool key Return
  sleep 0.2
}
type_into 32 13
close_message_box # the hour out of range
start=$(date -d '+20 seconds' '+%-I %-M %-S %p')
read -r hour minute second half <<<"$start"
type_into 32 "$hour"
type_into 72 "$minute"
if [ "$second" -ge 2 ]; then
  type_into 112 $((second - 2))
  xdotool key Up Up
else
  type_into 112 "$second"
fi
type_into 152 "${half,,}" # in small letters
type_into 264 0
type_into 304 3
xdotool mousemove $((X + 120)) $((Y + 148)) click 1 # the target box
xdotool key End shift+Home BackSpace type --delay 10 "$WORK_WIN\\typed schedule.wav"
xdotool mousemove $((X + 215)) $((Y + 147)) click 1 # Activate
xdotool key Escape # closes the window, which arms the schedule
wait_gone "$schedule" || fail "the schedule window did not close"
take="$WORK/typed schedule.wav"
for _ in $(seq 16); do
  [ ! -f "$take" ] || fail "the take was there before its time (start $start)"
  sleep 0.5
done
for _ in $(seq 45); do [ -f "$take" ] && break; sleep 1; done
wait_file "$take" || fail "no scheduled take was saved (start $start)"
assert_tone "$take" 440 2.5 || fail "the scheduled take does not hold the tone"
finish
