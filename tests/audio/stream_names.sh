#!/usr/bin/env bash
# The server's clients list the take and the playback as Murmora's, with its icon and their role.
. "$(dirname "$0")/real_audio_lib.sh"
need_server
sox -q -n -r 44100 -c 2 -b 16 "$WORK/tone.wav" synth 3 sine 440 vol 0.5
{
  printf '%s\n' "open new type waveaudio alias capture" "record capture" "open $WORK/tone.wav type waveaudio alias voice1" \
      "play voice1"
  sleep 1
  pactl list source-outputs > "$WORK/source-outputs"
  pactl list sink-inputs > "$WORK/sink-inputs"
  printf '%s\n' "close voice1" "close capture"
} | timeout 60 "$MCI_SHELL" > "$WORK/out"
for list in source-outputs sink-inputs; do
  for property in 'application.name = "Murmora"' 'application.icon_name = "murmora"' 'media.role = "production"'; do
    grep -qF "$property" "$WORK/$list" || fail "$list lack $property: $(cat "$WORK/$list")"
  done
done
echo "PASS"
