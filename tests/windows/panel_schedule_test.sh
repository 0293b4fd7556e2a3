#!/usr/bin/env bash
# The real panel under Wine: a schedule set in the schedule window with its arrows, 20 s ahead
# for 3 s, to a target with blanks, records by itself and saves the tone there.
. "$(dirname "$0")/panel_lib.sh"
start_panel
click_panel 131 182 # the clock button
schedule=$(wait_for_window '^Murmora - Record Panel$') || fail "the schedule window did not open"
eval "$(xdotool getwindowgeometry --shell "$schedule")"
# click_schedule X Y [TIMES]: left clicks at a point of the schedule window's client area.
click_schedule() { xdotool mousemove $((X + $1)) $((Y + $2)) click --repeat "${3:-1}" --delay 40 1; }
up=70 down=97 # the arrows of every spinner, by its middle across: hour 32, minute 72, second 112, AM/PM 152
start=$(date -d '+20 seconds' '+%-I %-M %-S %p')
read -r hour minute second half <<<"$start"
[ "$hour" -gt 1 ] && click_schedule 32 $up $((hour - 1))
[ "$minute" -gt 0 ] && click_schedule 72 $up "$minute"
[ "$second" -gt 0 ] && click_schedule 112 $up "$second"
[ "$half" = PM ] && click_schedule 152 $up
click_schedule 264 $down # duration minutes 1 -> 0
click_schedule 304 $up 3 # duration seconds 0 -> 3
click_schedule 120 148   # the target box
xdotool key Home shift+End BackSpace type --delay 10 "$WORK_WIN\\scheduled take.wav"
click_schedule 215 147   # Activate
xdotool key Escape       # closes the window, which arms the schedule
wait_gone "$schedule" || fail "the schedule window did not close"
take="$WORK/scheduled take.wav"
for _ in $(seq 45); do [ -f "$take" ] && break; sleep 1; done
wait_file "$take" || fail "no scheduled take was saved (start $start)"
assert_tone "$take" 440 2.5 || fail "the scheduled take does not hold the tone"
finish
