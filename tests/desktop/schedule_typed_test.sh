#!/usr/bin/env bash
# The schedule set by typing, as a user would: the start time typed into its boxes (the seconds
# finished with the Up arrow), a value out of range refused with a message, the duration typed.
# The program runs under faketime, its clock starting at 1:04:40 PM, so that the start typed,
# 1:05:10 PM, comes 30 s later; the take starts then, not before, and is saved to the target.
# Usage: schedule_typed_test.sh PROGRAM MESSAGE_BOX_REFERENCE AUDIO_ENV
. "$(dirname "$0")/../faults/program_faults_lib.sh"
command -v faketime >/dev/null || unavailable "faketime is not installed"
server_start
target="$WORK/typed schedule.wav"
launched=$(date +%s)
TZ=UTC FAKETIME_DONT_FAKE_MONOTONIC=1 start_app faketime -m -f "@2024-01-01 13:04:40"

schedule_button
form2=$(wait_for_window "^Murmora - Record Panel$") || fail "the schedule window did not open"
# type_into X TEXT: replaces the text of the box at X (its middle, across) and finishes with Return.
type_into() {
  xdotool mousemove --window "$form2" "$1" 48 click 1
  xdotool windowfocus --sync "$form2" key ctrl+a
  xdotool type --delay 20 -- "$2"
  xdotool key Return
  sleep 0.2
}
echo "== a start hour out of range is refused"
type_into 32 13
expect_box warning 'The hour of the start time must be a whole number from 1 to 12, not "13".'
echo "== 1:05:10 PM for 3 s, typed"
type_into 32 1
type_into 72 5
type_into 112 5
xdotool key Up Up Up Up Up # 5 -> 10
type_into 152 pm
type_into 264 0
type_into 304 3
arm_schedule "$form2" "$target"

echo "== the take starts at 1:05:10 PM on the program's clock, 30 s after the launch"
took() { [ -n "$(find "$TAKES" -name '*.wav' 2>/dev/null)" ] || [ -f "$target" ]; }
while [ $(($(date +%s) - launched)) -lt 28 ]; do
  ! took || fail "the take started $(($(date +%s) - launched)) s after the launch, before its time"
  sleep 0.2
done
until took || [ $(($(date +%s) - launched)) -gt 34 ]; do sleep 0.2; done
took || fail "no take by 34 s after the launch"
for _ in $(seq 100); do [ -f "$target" ] && break; sleep 0.1; done
expect_take "$target" 2.5
alive "after the scheduled take"
close_app
echo "PASS"
