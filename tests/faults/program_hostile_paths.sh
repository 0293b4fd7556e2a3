#!/usr/bin/env bash
# Hostile names given to the save dialog: blanks, quotes, unicode and a newline (pasted: not
# every character can be typed), 4,000 characters (refused with a message), a folder,
# a hidden file, a link to a folder. Each gives a clear outcome and no take is lost: it is
# saved where the user is told, or the dialog stays open until it can be.
. "$(dirname "$0")/program_faults_lib.sh"
command -v xclip >/dev/null || unavailable "xclip is not installed"
server_start
start_app

take() { record_button; sleep 1.5; cut_button; }
saved_as() { # PATH: the take went to PATH and the user was told
  expect_box information "Recording saved as  $1"
  expect_take "$1" 1
}
# The take went to the one new file in the home folder, and the user was told where. Where
# that is not the name typed (TYPED), says so.
saved_somewhere() { # TYPED
  local newest
  sleep 0.5
  newest=$(find "$HOME" -maxdepth 1 -type f -newer "$WORK/mark" -print -quit)
  [ -n "$newest" ] || fail "the take typed as $(printf '%q' "$1") went nowhere: $(ls -A "$HOME")"
  saved_as "$newest"
  [ "$newest" = "$1" ] || echo "NOTE: typed $(printf '%q' "$1"), saved as $(printf '%q' "$newest")"
}
# Pastes TEXT into the save dialog and accepts it: xdotool cannot type every character.
paste_into_save_dialog() { # TEXT
  local dialog
  dialog=$(wait_for_window "^Save Recorded File$") || fail "no save dialog"
  printf '%s' "$1" > "$WORK/clipboard"
  # In the foreground (-quiet), so that it is ours to end and holds none of our outputs.
  xclip -quiet -selection clipboard "$WORK/clipboard" >/dev/null 2>&1 &
  local owner=$!
  sleep 0.3
  xdotool windowfocus --sync "$dialog" key ctrl+a ctrl+v Return
  sleep 0.3
  kill "$owner" 2>/dev/null || true
  wait "$owner" 2>/dev/null || true
}
mark() { touch "$WORK/mark"; sleep 1.1; } # file times are to the second on some file systems

echo "== blanks"
take
answer_save_dialog "$HOME/ two  blanks .wav"
saved_as "$HOME/ two  blanks .wav"

echo "== quotes"
take
answer_save_dialog "$HOME/it's a \"quoted\" take.wav"
saved_as "$HOME/it's a \"quoted\" take.wav"

echo "== unicode"
take
paste_into_save_dialog "$HOME/Aufnahme – ünïcødé 録音.wav"
saved_as "$HOME/Aufnahme – ünïcødé 録音.wav"

echo "== a newline, pasted"
mark
take
paste_into_save_dialog "$HOME/first line"$'\n'"second line.wav"
saved_somewhere "$HOME/first line"$'\n'"second line.wav"

echo "== 4,000 characters: refused with a message that says the name is too long, the take kept"
take
dialog=$(wait_for_window "^Save Recorded File$") || fail "no save dialog"
long="$(head -c 4000 /dev/zero | tr '\0' a).wav"
paste_into_save_dialog "$HOME/$long"
expect_titled_box "Save Recorded File" "$dialog" warning "$HOME/${long:0:40}…${long: -19}
The name is too long for the file system: it has 4004 bytes, and a name there may have at most 255.
Choose a shorter name."
[ -n "$(window_named "^Save Recorded File$")" ] || fail "the dialog closed on a name of 4,000 characters"
answer_save_dialog "$HOME/after the long name.wav"
saved_as "$HOME/after the long name.wav"

echo "== a folder: the dialog opens it and asks on"
mkdir "$HOME/folder"
take
answer_save_dialog "$HOME/folder"
sleep 0.5
[ -n "$(window_named "^Save Recorded File$")" ] || fail "a folder name closed the save dialog"
answer_save_dialog "in the folder.wav"
saved_as "$HOME/folder/in the folder.wav"

echo "== a hidden file"
take
answer_save_dialog "$HOME/.hidden take.wav"
saved_as "$HOME/.hidden take.wav"

echo "== a link to a folder"
mkdir "$HOME/real"
ln -s "$HOME/real" "$HOME/link"
take
answer_save_dialog "$HOME/link/through the link.wav"
saved_as "$HOME/link/through the link.wav"
[ -f "$HOME/real/through the link.wav" ] && [ -L "$HOME/link" ] || fail "the link was replaced"

close_app
[ -z "$(find "$TAKES" -type f 2>/dev/null)" ] || fail "take files left behind: $(ls "$TAKES")"
echo "PASS"
