#!/usr/bin/env bash
# The panel in the user's language, as a user of that language and a screen reader meet it,
# for German and French (LANG=de_DE.UTF-8, fr_FR.UTF-8, locales made for the test):
#   - its push buttons are named in that language, as the language's catalogue words them;
#   - Play before any take says why in a box of that language;
#   - Record, then Stop Recording, opens the save dialog under that language's title.
# The other tests hold the English texts, in a locale with no catalogue.
# Usage: language_test.sh PROGRAM MESSAGE_BOX_REFERENCE AUDIO_ENV CATALOGUES
. "$(dirname "$0")/a11y_lib.sh"
CATALOGUES=$4
command -v localedef >/dev/null && [ -d /usr/share/i18n/locales ] || unavailable "locales is not installed"
command -v gettext >/dev/null || unavailable "gettext-base is not installed"

# The text in LOCALE's language, from the program's catalogues.
in_language() { # LOCALE TEXT
  LOCPATH="$WORK/locales" LANGUAGE="" LC_ALL=$1 TEXTDOMAINDIR=$CATALOGUES gettext -d murmora "$2"
}
make_locale() { # LOCALE
  local locale=$1
  localedef -i "${locale%.UTF-8}" -f UTF-8 "$WORK/locales/$locale" 2>/dev/null || true
  [ -f "$WORK/locales/$locale/LC_MESSAGES/SYS_LC_MESSAGES" ] || fail "the locale $locale could not be made"
}
# Checks that the box over the panel says TEXT in LOCALE's language, and closes it. The boxes are
# held against the reference in German alone, whose Qt words the box's OK button as English does.
expect_box_in() { # LOCALE ICON TEXT
  if [ "$1" = de_DE.UTF-8 ]; then
    expect_box "$2" "$(in_language "$1" "$3")"
  else
    local box
    box=$(wait_for_window "^Murmora\$" "$PANEL") || fail "no message box, expected: $3"
    xdotool windowfocus --sync "$box" key Return
  fi
}
mkdir -p "$WORK/locales"

for locale in de_DE.UTF-8 fr_FR.UTF-8; do
  make_locale "$locale"
  echo "== $locale: the push buttons"
  start_app env LOCPATH="$WORK/locales" LANG="$locale" LANGUAGE= LC_ALL= LC_MESSAGES=
  expected=""
  for name in "Minimize" "Record" "Close" "Stop Recording" "Convert Wav To mp3" "Play File" \
      "Set Recording Schedule"; do
    translation=$(in_language "$locale" "$name")
    [ "$translation" != "$name" ] || fail "the $locale catalogue leaves \"$name\" English"
    expected+="$translation"$'\n'
  done
  buttons=$($PROBE buttons) || fail "the panel cannot be read over the accessibility bus"
  [ "$buttons" = "${expected%$'\n'}" ] || fail "the panel's push buttons are: $(echo "$buttons" | tr '\n' ',')"

  echo "== $locale: Play before any take"
  $PROBE press "$(in_language "$locale" "Play File")" || fail "no Press on Play File"
  expect_box_in "$locale" information "No recording has been saved yet: there is nothing to play."

  echo "== $locale: the save dialog's title"
  $PROBE press "$(in_language "$locale" "Record")" || fail "no Press on Record"
  expect_recordings 1 "Press on Record"
  $PROBE press "$(in_language "$locale" "Stop Recording")" || fail "no Press on Stop Recording"
  title=$(in_language "$locale" "Save Recorded File")
  dialog=$(wait_for_window "^$title\$" "$PANEL") || fail "no save dialog titled \"$title\""
  xdotool windowfocus --sync "$dialog" key Escape
  expect_box_in "$locale" warning "Recording Not Saved"
  kill "$APP_PID"
  wait "$APP_PID" 2>/dev/null || true
done
echo "PASS"
