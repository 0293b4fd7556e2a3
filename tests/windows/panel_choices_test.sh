#!/usr/bin/env bash
# The real panel's menu of the input and the format under Wine, worked as a user would: opened
# with a right click on the panel's grille and answered with the keyboard, on a sound server of
# the test's own with a second input, "QuietMic" (silent), beside the 440 Hz microphone:
#   - a settings file of garbage gives the defaults and one line on stderr;
#   - the menu lists the inputs as the engine does (engine_probe.exe, ENGINE_PROBE): choosing
#     each one in turn keeps that input's name in %APPDATA%\Murmora\settings.conf;
#   - a menu closed with Escape keeps nothing; a right-button drag moves the panel, no menu;
#   - Shift+F10 and the menu key open it too;
#   - QuietMic and MP3 chosen hold across a restart: the take is silent, and saved as MP3 under
#     a name without an ending; TestMic chosen: the MP3 take decodes to the 440 Hz tone and lasts
#     as long as the take ran, and Play plays it;
#   - the chosen input removed: the next take says so and records the default input.
. "$(dirname "$0")/panel_lib.sh"
[ -n "${ENGINE_PROBE:-}" ] || unavailable "no engine_probe.exe (ENGINE_PROBE)"
own_server
pactl load-module module-null-sink sink_name=murmora_quiet sink_properties=device.description=Quiet >/dev/null
QUIET_INPUT=$(pactl load-module module-remap-source master=murmora_quiet.monitor source_name=quiet_in \
  source_properties=device.description=QuietMic)
# Silence played there at the microphone's pace, so that the input delivers as often.
pacat -p -d murmora_quiet --raw --rate=44100 --channels=2 --format=s16le --latency-msec=20 </dev/zero &
SETTINGS="$USER_FOLDER/AppData/Roaming/Murmora/settings.conf"
# The prefix is the next tests' too: they start from the defaults.
trap 'set +e; end_panel; audio_stop >/dev/null 2>&1; wait 2>/dev/null; rm -rf "$WORK" "$PULSE_DIR" "$(dirname "$SETTINGS")"' EXIT
setting() { tr -d '\r' <"$SETTINGS" | sed -n "s/^$1=//p"; } # KEY

# The engine's inputs, in the menu's order: name, a tab, description.
mapfile -t INPUTS < <(wine "$ENGINE_PROBE" inputs | cut -f1,2)
[ "${#INPUTS[@]}" -ge 2 ] || fail "the engine lists ${#INPUTS[@]} inputs: ${INPUTS[*]}"
input_named() { printf '%s\n' "${INPUTS[@]}" | awk -F'\t' -v d="$1" '$2 == d { print NR - 1; exit }'; } # DESCRIPTION
QUIETMIC=$(input_named QuietMic) TESTMIC=$(input_named TestMic)
[ -n "$QUIETMIC" ] && [ -n "$TESTMIC" ] || fail "the engine lists neither QuietMic nor TestMic: ${INPUTS[*]}"
MP3=3 # WAV, FLAC, Opus, MP3

# Opens the menu on the grille and goes down to the entry: a heading goes before each part's
# entries (the line between the parts is passed over).
open_menu() {
  xdotool mousemove $((PANEL_X + 30)) $((PANEL_Y + 200)) sleep 0.1 click 3
  sleep 0.7
}
choose_entry() { # DOWNS
  open_menu
  xdotool key --delay 30 $(printf 'Down %.0s' $(seq 1 "$1")) Return
  sleep 0.5
}
choose_input() { choose_entry $(($1 + 2)); }                 # INDEX
choose_format() { choose_entry $((${#INPUTS[@]} + $1 + 3)); } # INDEX

echo "== a settings file of garbage gives the defaults and one line on stderr"
mkdir -p "$(dirname "$SETTINGS")"
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR' >"$SETTINGS"
start_panel
sleep 0.5
[ "$(grep -c "settings in .*settings.conf make no sense" "$WORK/murmora.log")" = 1 ] ||
  fail "no line on stderr for the garbage settings"
open_menu
xdotool key Escape
sleep 0.3
[ "$(md5sum <"$SETTINGS")" = "$(printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR' | md5sum)" ] ||
  fail "the menu closed unchosen wrote the settings"

echo "== the menu lists the engine's inputs: each one chosen is kept by its name"
for i in "${!INPUTS[@]}"; do
  choose_input "$i"
  [ "$(setting input)" = "${INPUTS[$i]%%$'\t'*}" ] ||
    fail "entry $i of the menu kept \"$(setting input)\", not ${INPUTS[$i]}"
done
echo "${#INPUTS[@]} inputs, as the engine lists them"

echo "== a right-button drag moves the panel and opens no menu"
kept=$(md5sum <"$SETTINGS")
xdotool mousemove $((PANEL_X + 30)) $((PANEL_Y + 200)) sleep 0.1 mousedown 3 sleep 0.1 \
  mousemove $((PANEL_X + 60)) $((PANEL_Y + 220)) sleep 0.1 mousemove $((PANEL_X + 70)) $((PANEL_Y + 230)) \
  sleep 0.1 mouseup 3
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$PANEL")"
[ "$X,$Y" = "$((PANEL_X + 40)),$((PANEL_Y + 30))" ] || fail "the drag left the panel at $X,$Y"
PANEL_X=$X PANEL_Y=$Y
xdotool key Escape # would close a menu; the panel takes it for nothing

echo "== the keyboard opens the menu: Shift+F10 and the menu key"
choose_input "$TESTMIC"
xdotool windowfocus --sync "$PANEL" key shift+F10 sleep 0.7 \
  key --delay 30 $(printf 'Down %.0s' $(seq 1 $((QUIETMIC + 2)))) Return
sleep 0.5
[ "$(setting input)" = "${INPUTS[$QUIETMIC]%%$'\t'*}" ] || fail "Shift+F10 chose no QuietMic: $(cat "$SETTINGS")"
xdotool windowfocus --sync "$PANEL" key Menu sleep 0.7 \
  key --delay 30 $(printf 'Down %.0s' $(seq 1 $((${#INPUTS[@]} + MP3 + 3)))) Return
sleep 0.5
[ "$(setting format)" = mp3 ] || fail "the menu key chose no MP3: $(cat "$SETTINGS")"
end_panel || fail "the Close button did not end the program"

echo "== QuietMic and MP3 hold across a restart"
start_panel
record_take 2 quiet
# An MP3 file begins with an ID3 tag or the sync of its first frame.
start=$(od -An -tx1 -N3 "$WORK/quiet" | tr -d ' ')
[ "$start" = 494433 ] || [[ "$start" == fff* ]] || fail "the take saved as \"quiet\" is no MP3 file (it begins $start)"
peak=$(sox -t mp3 "$WORK/quiet" -n stat 2>&1 | awk '/^Maximum amplitude/ { print $3 }')
awk -v p="$peak" 'BEGIN { exit !(p < 0.01) }' || fail "the take of QuietMic is not silent (peak $peak)"

echo "== TestMic: the MP3 take decodes to the tone, as long as the take ran"
choose_input "$TESTMIC"
timed_take 3
ran=$RAN
answer_dialog "Save Recorded File" "$WORK_WIN\\tone.mp3"
expect_message "Recording saved as  $WORK_WIN\\tone.mp3"
assert_tone "$WORK/tone.mp3" 440 2.5 || fail "the MP3 take does not hold the 440 Hz tone"
length=$(soxi -D "$WORK/tone.mp3")
# The encoder's delay and padding add at most a frame and a half of 1152 samples.
within "$length" "$(awk -v r="$ran" 'BEGIN { print r - 0.1 }')" "$(awk -v r="$ran" 'BEGIN { print r + 0.14 }')" ||
  fail "the MP3 take lasts $length s, not the $ran s it ran"
echo "$length s of 440 Hz in an MP3 take that ran $ran s"

echo "== Play plays the MP3 take"
streams=$(pactl list short sink-inputs | wc -l) # the silence fed to QuietMic's output is one
click_play
for _ in $(seq 30); do [ "$(pactl list short sink-inputs | wc -l)" -gt "$streams" ] && break; sleep 0.1; done
[ "$(pactl list short sink-inputs | wc -l)" -gt "$streams" ] || fail "Play plays nothing"
sleep 3.5 # to its end

echo "== QuietMic chosen, then removed: the take says so and records the default input"
choose_input "$QUIETMIC"
choose_format 0
pactl unload-module "$QUIET_INPUT"
click_record
expect_message "The input QuietMic is not there; recording from the default input"
sleep 1.5
click_stop
answer_dialog "Save Recorded File" "$WORK_WIN\\default.wav"
close_message_box # "Recording saved as  ..."
assert_tone "$WORK/default.wav" 440 1 || fail "the take instead of QuietMic's does not hold the default input's tone"
finish
