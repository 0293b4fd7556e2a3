#!/usr/bin/env bash
# The panel worked by the keyboard alone as a user who cannot see works it, with Orca, the
# screen reader, heard by the lines its debug file says it speaks:
#   - the record button, which has the focus, is read by its name, without its tooltip or keys;
#   - Space on the record button starts a take: Orca says "recording";
#   - the display, reviewed with Orca's flat review, reads the take's seconds and the level in
#     dBFS;
#   - when the input is lost (the sound server killed), Orca says "recording stopped" with the
#     take's seconds, and reads the message that says why;
#   - the save dialog takes a name, and Orca reads the dialog.
# Orca runs under the window manager with speech-dispatcher and eSpeak NG.
# Usage: orca_test.sh PROGRAM MESSAGE_BOX_REFERENCE AUDIO_ENV
. "$(dirname "$0")/a11y_lib.sh"
for tool in orca speech-dispatcher; do command -v $tool >/dev/null || unavailable "$tool is not installed"; done
/usr/bin/python3 -c 'import speechd' 2>/dev/null || unavailable "python3-speechd is not installed"
start_window_manager

# eSpeak NG speaks to ALSA's null device: the test kills the sound server, which would take
# speech-dispatcher with it.
cp -r /etc/speech-dispatcher "$WORK/speechd-config"
printf 'AudioOutputMethod "alsa"\nAudioALSADevice "null"\n' >>"$WORK/speechd-config/speechd.conf"
mkdir -p "$XDG_RUNTIME_DIR/speech-dispatcher"
speech-dispatcher -s -t 0 -C "$WORK/speechd-config" -c unix_socket \
  -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" >"$WORK/speech-dispatcher.log" 2>&1 &
pids+=($!)
# Orca would start a speech-dispatcher of its own, which outlives the test, if none answered yet.
for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] || fail "speech-dispatcher did not start"
SAID="$WORK/orca.debug"
/usr/bin/python3 "$HERE/orca_logged.py" -d braille --debug-file "$SAID" >"$WORK/orca.log" 2>&1 &
# Orca's own end on SIGTERM waits on the buses, which are gone by then.
cleanup_steps+=("kill -KILL $! 2>/dev/null; wait $! 2>/dev/null")

# What Orca has said, one utterance a line, without the voice it said it in. Orca 48 says a
# notification's role apart from its text: the two are joined, as Orca 43 says them.
said() {
  sed -n "s/^.*SPEECH OUTPUT: '\(.*\)'\( voice=[a-z]*\)\? \?\(\[\?{.*\|None\)\?$/\1/p" "$SAID" 2>/dev/null |
    sed '/^notification$/{N;s/\n/ /;}'
}
heard_lines=0
# Waits up to SECONDS for Orca to say a line that matches the extended regular expression,
# after what it said before the last wait; prints the line.
hear() { # PATTERN SECONDS WHAT
  local line
  for _ in $(seq $(($2 * 10))); do
    line=$(said | tail -n +$((heard_lines + 1)) | grep -n -E -m1 -- "$1") && {
      heard_lines=$((heard_lines + ${line%%:*}))
      echo "heard: ${line#*:}"
      return 0
    }
    sleep 0.1
  done
  fail "Orca did not say $3; it said: $(said | tail -n +$((heard_lines + 1)) | tr '\n' '|')"
}
key() { xdotool key --delay 150 "$@"; }

hear "^Screen reader on" 20 "that it runs"
start_app
# Orca 43 says "push button", Orca 48 "button".
hear "^Record (push )?button\.?$" 10 "the focused record button, by its name alone"
sleep 1
! said | grep -q "Stop File Play" || fail "Orca reads the record button's tooltip at its focus: $(said | tr '\n' '|')"

echo "== Space on Record starts a take, and Orca says so"
key space
expect_recordings 1 "Space on Record"
hear "^notification recording\\.?$" 5 "that the take records"

echo "== the display, reviewed line by line, reads the take's seconds and the level in dBFS"
sleep 1.5 # the seconds show from the first
# Orca's flat review, in its desktop layout: Keypad 9 (Num Lock off) reads the next line.
for _ in $(seq 8); do
  key KP_Prior
  sleep 0.5
  said | tail -n +$((heard_lines + 1)) | grep -q "dBFS" && break
done
hear "^[0-9]+ sec\\.?$" 1 "the take's seconds"
hear "^-[0-9]+ dBFS" 1 "the level in dBFS"
key KP_Subtract # back to the focus

echo "== the sound server goes, and with it the input: Orca says that the take ended, and why"
sleep 1
server_kill
# In either order: Orca 48 reads the message box before the notification that came first.
from=$heard_lines
hear "^notification recording stopped, [0-9]+ sec\\.?$" 5 "that the take ended"
after_end=$heard_lines
heard_lines=$from
hear "The sound input was lost after [0-9]+ sec" 5 "why the take ended"
[ "$heard_lines" -ge "$after_end" ] || heard_lines=$after_end
key Return

echo "== the save dialog takes a name, and the take is saved"
wait_for_window "^Save Recorded File$" "$PANEL" >/dev/null || fail "no save dialog after the message"
hear "^Save Recorded File" 5 "the save dialog"
key ctrl+a
xdotool type --delay 5 -- "$HOME/heard.wav"
key Return
# The message box that follows is Orca's to read as any other; on a loaded machine Orca 43
# sometimes speaks only its OK button, so what it says of it is not held against the panel.
wait_for_window "^Murmora$" "$PANEL" >/dev/null || fail "no message after the save"
key Return
expect_take "$HOME/heard.wav" 1.5
echo "PASS"
