#!/usr/bin/env bash
# The target folder of a scheduled take is removed while the take runs. When the take stops
# the program saves it to a dated file in the home folder and says where; nothing is lost.
# The program runs under faketime, its clock starting shortly before the default start time
# of the schedule (1:00:00 AM), so that the schedule fires within seconds.
. "$(dirname "$0")/program_faults_lib.sh"
command -v faketime >/dev/null || unavailable "faketime is not installed"
server_start
target_folder="$WORK/target folder"
mkdir -p "$target_folder"
TZ=UTC FAKETIME_DONT_FAKE_MONOTONIC=1 start_app faketime -m -f "@2024-01-01 00:59:45"

echo "== arm the schedule for 1:00:00 AM into \"$target_folder\""
schedule_button
form2=$(wait_for_window "^Murmora - Record Panel$") || fail "the schedule window did not open"
arm_schedule "$form2" "$target_folder/take.wav"

echo "== the take starts; its folder is removed"
for _ in $(seq 300); do [ -n "$(find "$TAKES" -name '*.wav' 2>/dev/null)" ] && break; sleep 0.1; done
[ -n "$(find "$TAKES" -name '*.wav' 2>/dev/null)" ] || fail "the scheduled take did not start"
sleep 3
rm -rf "$target_folder"
sleep 1
alive "after the target folder was removed"
cut_button
for _ in $(seq 50); do compgen -G "$HOME/Murmora take *.wav" >/dev/null && break; sleep 0.1; done
fallback=$(compgen -G "$HOME/Murmora take *.wav" | head -n1) || fail "no take in the home folder: $(ls "$HOME")"
expect_box warning "Recording could not be saved as  $target_folder/take.wav
The file could not be saved (No such file or directory)

It was saved as  $fallback"
expect_take "$fallback" 3
[ ! -e "$target_folder" ] || fail "the removed folder came back"
close_app
echo "PASS: saved as ${fallback#$WORK/}"
