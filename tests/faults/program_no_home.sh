#!/usr/bin/env bash
# The program without a home folder: HOME is unset and the password database has no entry for
# the user (a user namespace maps the user to an id that is listed nowhere). Its home is then
# the parent of its take folder, and nothing goes to "/": a take left behind is recovered
# there, the save dialog opens there, and the schedule names it as the default target's folder.
. "$(dirname "$0")/program_faults_lib.sh"
command -v unshare >/dev/null || unavailable "unshare is not installed"
unshare --user --map-user=4242 true 2>/dev/null || unavailable "no user namespaces here"
! getent passwd 4242 >/dev/null || unavailable "user id 4242 is listed in the password database"
server_start
home="$XDG_CACHE_HOME/murmora" # the parent of the take folder
mkdir -p -m 700 "$TAKES"
sox -n -r 44100 -c 2 -b 16 "$TAKES/take-99999-0.wav" synth 3 sine 440 vol 0.5
touch -d '2024-05-06 07:08:09' "$TAKES/take-99999-0.wav"
before_root=$(ls -A /)

start_app env -u HOME unshare --user --map-user=4242 --map-group=4242
recovered="$home/Murmora take 2024-05-06 07-08-09.wav"
expect_box warning "Murmora ended during a recording.

What was recorded until then is kept as  $recovered"
expect_take "$recovered" 2.5

echo "== the save dialog opens in the home folder: a bare name goes there"
record_button
sleep 2
cut_button
answer_save_dialog "plain.wav"
expect_box information "Recording saved as  $home/plain.wav"
expect_take "$home/plain.wav" 1.5

echo "== the schedule's default target is in the home folder"
schedule_button
form2=$(wait_for_window "^Murmora - Record Panel$") || fail "the schedule window did not open"
xdotool mousemove --window "$form2" 40 148 click 1 # "File"
dialog=$(wait_for_window "^Save File As$") || fail "no file dialog"
xdotool windowfocus --sync "$dialog" key Escape
expect_box warning "Recording will be saved as AutoRec.wav in $home"
xdotool windowfocus --sync "$form2" key Escape

[ "$(ls -A /)" = "$before_root" ] || fail "something was written to /: $(diff <(echo "$before_root") <(ls -A /))"
close_app
echo "PASS"
