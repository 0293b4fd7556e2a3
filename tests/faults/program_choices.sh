#!/usr/bin/env bash
# The panel's menu of the input and the format, worked as a user would: opened with a right
# click on the panel's grille and answered with the keyboard, on a sound server with a second
# input, "QuietMic" (the monitor of the sink "murmora_quiet", silent unless a tone is played
# there), beside the 440 Hz microphone (-6 dBFS):
#   - a settings file of garbage gives the defaults and one line on stderr;
#   - the input and format chosen are kept in the settings file, recorded and saved, a typed
#     ".MP3" or ".wav" decides the format of its save, and Play plays the latest take;
#   - a tone at full scale shows the clip mark at the level bar's right end, until the take
#     ends; the -6 dBFS tone shows none;
#   - the chosen input removed: the next take says so once and records the default input;
#   - settings that cannot be kept are told once and the choice holds for the run.
# Screenshots of the menu and of the clip mark go to MURMORA_SHOTS when it is set.
. "$(dirname "$0")/program_faults_lib.sh"
export XDG_CONFIG_HOME="$WORK/config"
SETTINGS="$XDG_CONFIG_HOME/murmora/settings.conf"
server_start
pactl load-module module-null-sink sink_name=murmora_quiet sink_properties=device.description=Quiet >/dev/null
QUIET_INPUT=$(pactl load-module module-remap-source master=murmora_quiet.monitor source_name=quiet_in \
  source_properties=device.description=QuietMic)
# Silence played there at the microphone's pace, so that the input delivers as often.
pacat -p -d murmora_quiet --raw --rate=44100 --channels=2 --format=s16le --latency-msec=20 </dev/zero &
pids+=($!)
timeout 10 parec -d quiet_in --raw 2>/dev/null | head -c 88200 >/dev/null || true

# The menu's entries, in order: the inputs (TestMic, QuietMic, then what each of the three
# outputs plays), then the formats (WAV, FLAC, Opus, MP3).
TESTMIC=0 QUIETMIC=1 FLAC=6
# Opens the menu on the grille and chooses its entry number N with the keyboard.
choose() { # N
  xdotool mousemove --window "$PANEL" 30 200 sleep 0.1 click 3
  sleep 0.7
  xdotool key --delay 30 $(printf 'Down %.0s' $(seq 0 "$1")) Return
  sleep 0.5
}
setting() { sed -n "s/^$1=//p" "$SETTINGS"; } # KEY
clip_pixels() { # in a screenshot taken now: the clip mark's red in its 4 x 4 place
  import -window "$PANEL" "$WORK/shot.png"
  convert "$WORK/shot.png" -crop 4x4+61+84 +repage txt:- | grep -ci '#CC1818' || true
}
shot() { cp "$WORK/shot.png" "${MURMORA_SHOTS:-$WORK}/$1"; } # NAME

echo "== a settings file of garbage gives the defaults and one line on stderr"
mkdir -p "$(dirname "$SETTINGS")"
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR' >"$SETTINGS"
start_app
[ "$(grep -c "settings in $SETTINGS make no sense" "$WORK/murmora.log")" = 1 ] ||
  fail "no line on stderr for the garbage settings"
xdotool mousemove --window "$PANEL" 30 200 sleep 0.1 click 3
sleep 0.7
import -window root "$WORK/menu.png"
convert "$WORK/menu.png" -crop 360x330+400+460 +repage "${MURMORA_SHOTS:-$WORK}/menu.png"
xdotool key Escape
sleep 0.3
[ "$(md5sum <"$SETTINGS")" = "$(printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR' | md5sum)" ] || fail "the menu closed unchosen wrote the settings"

echo "== QuietMic and FLAC chosen, kept and recorded; a tone at full scale shows the clip mark"
choose $QUIETMIC
choose $FLAC
[ "$(setting input)" = quiet_in ] && [ "$(setting format)" = flac ] || fail "not kept: $(cat "$SETTINGS")"
sox -q -n -r 44100 -c 2 -e signed -b 16 -t raw - synth 30 sine 440 gain -n 2>/dev/null |
  pacat -p -d murmora_quiet --raw --rate=44100 --channels=2 --format=s16le --latency-msec=20 &
loud=$!
[ "$(clip_pixels)" = 0 ] || fail "a clip mark shows before the take"
record_button
sleep 2
[ "$(clip_pixels)" = 16 ] || fail "no clip mark for the tone at full scale"
shot clip-mark.png
kill "$loud"
sleep 1
[ "$(clip_pixels)" = 16 ] || fail "the clip mark went before the take ended"
cut_button
[ "$(clip_pixels)" = 0 ] || fail "the clip mark stays after the take"
answer_save_dialog "$HOME/loud"
expect_box information "Recording saved as  $HOME/loud"
[ "$(soxi -t "$HOME/loud")" = flac ] || fail "$HOME/loud is no FLAC file"
peak=$(sox "$HOME/loud" -n trim 0 1 stat 2>&1 | awk '/^Maximum amplitude/ { print $3 }')
awk -v p="$peak" 'BEGIN { exit !(p > 0.99) }' || fail "the take of QuietMic does not hold the full-scale tone (peak $peak)"

echo "== TestMic chosen: the -6 dBFS tone shows no clip mark; a typed .MP3 decides that save's format"
choose $TESTMIC
[ "$(setting input)" = mic ] || fail "not kept: $(cat "$SETTINGS")"
record_button
sleep 2
[ "$(clip_pixels)" = 0 ] || fail "a clip mark for the -6 dBFS tone"
cut_button
answer_save_dialog "$HOME/tone.MP3"
expect_box information "Recording saved as  $HOME/tone.MP3"
expect_take "$HOME/tone.MP3" 1.5 # read as MP3, by its name

echo "== Play plays the MP3"
play_button
for _ in $(seq 20); do pactl list short sink-inputs | grep -q . && break; sleep 0.1; done
pactl list short sink-inputs | grep -q . || fail "Play plays nothing"
sleep 3

echo "== QuietMic chosen, then removed: the take says so once and records the default input"
choose $QUIETMIC
pactl unload-module "$QUIET_INPUT"
record_button
expect_box warning "The input QuietMic is not there; recording from the default input"
sleep 1
cut_button
answer_save_dialog "$HOME/default.wav"
expect_box information "Recording saved as  $HOME/default.wav"
[ "$(head -c 4 "$HOME/default.wav")" = RIFF ] || fail "$HOME/default.wav is no WAV file"
expect_take "$HOME/default.wav" 1
close_app

echo "== settings that cannot be kept: told once, and the choice holds for the run"
rm -rf "$XDG_CONFIG_HOME/murmora"
echo "a file where the settings' folder should be" >"$XDG_CONFIG_HOME/murmora"
start_app
FLAC=5 OPUS=6 # QuietMic is gone from the menu
choose $OPUS
expect_box warning "Murmora could not keep this choice for its next start (Not a directory). It holds until Murmora closes."
choose $FLAC
alive "after a second choice that was not kept"
[ -z "$(window_named "^Murmora$" "$PANEL")" ] || fail "told twice"
choose $OPUS
record_button
sleep 2
cut_button
answer_save_dialog "$HOME/unkept"
expect_box information "Recording saved as  $HOME/unkept"
opusinfo "$HOME/unkept" >/dev/null 2>&1 || fail "$HOME/unkept is no Opus file"
close_app
echo "PASS"
