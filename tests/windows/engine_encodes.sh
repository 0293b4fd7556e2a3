#!/usr/bin/env bash
# The take encoder of the Windows build under Wine (engine_probe.exe encode): a take of 5 s of
# the 440 Hz tone at -6 dBFS saved as FLAC, Opus and MP3, each file read back by sox or opusdec
# as a user's player would: the tone, of the take's length (FLAC to the frame, Opus and MP3
# within 50 ms after the encoder's delay), and nothing partial left beside it. A cancel at a
# fifth, and a full disk (a 512 KiB file system, where the test may mount one) during a minute's
# take, leave the take as it was, the target untouched and nothing partial.
. "$(dirname "$0")/engine_lib.sh"
take="$WORK/take.wav"
frames=220500
sox -q -n -r 44100 -c 2 -b 16 "$take" synth 5 sine 440 vol 0.5
take_sum=$(md5sum <"$take")
encode() { # FORMAT TARGET [cancel], of the take at $take
  timeout 60 wine "$PROBE" encode "$1" "$(winpath "$take")" "$(winpath "$2")" ${3:+"$3"} 2>&1 | tr -d '\r'
}
# What libmad decodes before the take's first frame: LAME's header frame and its encoder delay.
mp3_delay=$((1152 + 576))
tolerance=2205 # 50 ms

for format in flac opus mp3; do
  saved="$WORK/saved.$format"
  said=$(encode $format "$saved")
  [ "$said" = encoded ] || fail "$format: $said"
  if [ $format = opus ]; then opusdec --quiet --rate 44100 "$saved" "$WORK/decoded.wav"; else sox "$saved" "$WORK/decoded.wav"; fi
  assert_tone "$WORK/decoded.wav" 440 4.9 || fail "the $format file does not hold the take's tone"
  decoded=$(soxi -s "$WORK/decoded.wav")
  case $format in
    flac) [ "$decoded" = $frames ] || fail "the FLAC file holds $decoded frames, not the take's $frames" ;;
    opus) [ $((decoded - frames)) -le $tolerance ] && [ $((frames - decoded)) -le $tolerance ] ||
            fail "the Opus file holds $decoded frames, not the take's $frames" ;;
    mp3) [ $((decoded - mp3_delay - frames)) -le $tolerance ] && [ $((decoded - mp3_delay)) -ge $frames ] ||
           fail "the MP3 file holds $decoded frames, not the take's $frames after the encoder's $mp3_delay" ;;
  esac
  echo "$format: $decoded frames decoded for a take of $frames"
  rm "$WORK/decoded.wav"
done
[ "$(ls -A "$WORK" | sort | tr '\n' ' ')" = "saved.flac saved.mp3 saved.opus take.wav " ] ||
  fail "more than the take and its files: $(ls -A "$WORK")"

echo "== a cancel at a fifth"
said=$(encode flac "$WORK/cancelled.flac" cancel)
[ "$said" = cancelled ] || fail "the cancel: $said"
[ ! -e "$WORK/cancelled.flac" ] && [ "$(ls -A "$WORK" | wc -l)" = 4 ] || fail "the cancel left $(ls -A "$WORK")"
[ "$(md5sum <"$take")" = "$take_sum" ] || fail "the cancel changed the take"

echo "== a full disk"
disk="$WORK/disk"
mkdir "$disk"
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=512k murmora-full "$disk" 2>/dev/null; then
  cleanup_steps+=("umount '$disk'")
  echo kept >"$disk/full.mp3"
  take="$WORK/long.wav" # a minute: 960 KiB of MP3
  sox -q -n -r 44100 -c 2 -b 16 "$take" synth 60 sine 440 vol 0.5
  take_sum=$(md5sum <"$take")
  said=$(encode mp3 "$disk/full.mp3") || true
  echo "the encoder said: $said"
  [[ $said == "not encoded: "* ]] || fail "the full disk was not told: $said"
  [ "$(cat "$disk/full.mp3")" = kept ] || fail "the full disk's target was changed"
  [ "$(ls -A "$disk")" = full.mp3 ] || fail "the full disk holds more: $(ls -A "$disk")"
  [ "$(md5sum <"$take")" = "$take_sum" ] || fail "the full disk changed the take"
elif [ "${CI:-}" = true ]; then
  fail "a small file system could not be mounted"
else
  echo "SKIP: a small file system cannot be mounted here (not root)"
fi
echo PASS
