#!/usr/bin/env bash
# The program started in a locale that is not UTF-8 (LANG=C, LC_ALL=POSIX: a fresh machine, a
# cron job): a name with "é" typed in the save dialog is saved under that name, in UTF-8 as the
# desktop names files, and the message names it as typed.
. "$(dirname "$0")/program_faults_lib.sh"
server_start
for setting in LANG=C LC_ALL=POSIX; do
  echo "== $setting"
  name="saved élsewhere ($setting).wav"
  start_app env -u LANG -u LC_ALL -u LANGUAGE "$setting"
  record_button
  sleep 1.5
  cut_button
  dialog=$(wait_for_window "^Save Recorded File$") || fail "no save dialog"
  # Typed slowly: xdotool gives "é" a key of its own first, which a fast key press outruns.
  xdotool windowfocus --sync "$dialog" key ctrl+a
  xdotool type --delay 100 -- "$name"
  xdotool windowfocus --sync "$dialog" key Return
  expect_box information "Recording saved as  $HOME/$name"
  expect_take "$HOME/$name" 1
  close_app
done
echo "PASS"
