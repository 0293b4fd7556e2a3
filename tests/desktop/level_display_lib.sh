# Shared by the tests that read the panel's level display from screenshots, on Linux and under
# Wine: the bar under the seconds and the note about a silent input, both drawn in the display's
# lettering (LEVEL_INK). The test defines ink_pixels WIDTHxHEIGHT+X+Y, the pixels of that area of
# the panel that are ink in a screenshot it takes now into $WORK/shot.png, and has fail, within,
# now, seconds_since and the microphone's FEED_PID (tests/fixtures/audio-env.sh).
LEVEL_INK='#1C2818'
LEVEL_BAR=50x1+10+85
SILENCE_NOTE=53x83+8+88

expect_no_bar() { [ "$(ink_pixels 50x3+10+84)" = 0 ] || fail "a bar shows before the take"; }

# expect_tone_bar SHOT: the bar of the 440 Hz microphone (-6 dBFS peak) is as long as -6 dBFS on
# its scale from -60 to 0 dBFS (45 of its 50 pixels), within 3 dB (-9 dBFS is 42.5 pixels, -3 dBFS
# 47.5); BAR_PIXELS is its length, and the screenshot is kept as SHOT.
expect_tone_bar() {
  BAR_PIXELS=$(ink_pixels $LEVEL_BAR)
  cp "$WORK/shot.png" "${MURMORA_SHOTS:-$WORK}/$1"
  echo "the bar is $BAR_PIXELS pixels long"
  within "$BAR_PIXELS" 43 47 || fail "the bar is $BAR_PIXELS pixels long, not -6 dBFS (45) within 3 dB"
}

# expect_silence_note SHOT: the microphone's feed stops; the note covers the lower display after
# 5 s of silence (5 to 6 s, seen within 7.5 s at the screenshots' pace) and the bar falls to
# nothing. NOTE_AFTER is the seconds it took, and the screenshot is kept as SHOT.
expect_silence_note() {
  local silent_from
  [ "$(ink_pixels $SILENCE_NOTE)" -lt 2000 ] || fail "the note shows while the microphone hears the tone"
  kill "$FEED_PID"
  silent_from=$(now)
  until [ "$(ink_pixels $SILENCE_NOTE)" -gt 2200 ]; do # half the note's 4399 pixels
    within "$(seconds_since "$silent_from")" 0 8 || fail "no note 8 s after the input fell silent"
    sleep 0.2
  done
  NOTE_AFTER=$(seconds_since "$silent_from")
  cp "$WORK/shot.png" "${MURMORA_SHOTS:-$WORK}/$1"
  echo "the note came after $NOTE_AFTER s"
  within "$NOTE_AFTER" 5 7.5 || fail "the note came $NOTE_AFTER s after the input fell silent, not after 5 s"
  [ "$(ink_pixels $LEVEL_BAR)" = 0 ] || fail "the bar does not fall to nothing for silence"
}
