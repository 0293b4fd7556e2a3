#!/usr/bin/env bash
# The cross-built LAME.exe, under Wine, encodes a WAV file in a folder with blanks to MP3.
# usage: lame_encodes.sh LAME.EXE AUDIO_ENV
set -euo pipefail
. "$2"
[ -f "$1" ] || { echo "FAIL: $1 is missing (scripts/build-lame-windows.sh builds it)" >&2; exit 1; }
work=$(mktemp -d /tmp/murmora-lame.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/a folder"
sox -n -r 44100 -c 2 -b 16 "$work/a folder/tone.wav" synth 2 sine 440 vol 0.5
(cd "$work/a folder" && timeout 60 wine "$1" --quiet tone.wav "tone copy.mp3")
assert_tone "$work/a folder/tone copy.mp3" 440 1.9
