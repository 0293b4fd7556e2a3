#!/usr/bin/env bash
# The Windows panel in German under Wine, whose Windows programs see LANG=de_DE.UTF-8 and take
# their language from it (gettext asks Windows for the display language only where none of
# LANGUAGE, LC_ALL, LC_MESSAGES and LANG is set): the buttons read through MSAA, and the box that
# Play before any take shows, in the words of the German catalogue beside murmora.exe.
. "$(dirname "$0")/panel_lib.sh"
command -v gettext >/dev/null || unavailable "gettext-base is not installed"
command -v localedef >/dev/null && [ -d /usr/share/i18n/locales ] || unavailable "locales is not installed"
CATALOGUES=$(dirname "$MURMORA_EXE")/locale
PROBE="wine $(dirname "$MURMORA_EXE")/msaa_probe.exe"
german() { LANGUAGE=de LC_ALL=C.UTF-8 TEXTDOMAINDIR=$CATALOGUES gettext -d murmora "$1"; }

# Wine's own side needs the locale too, or it writes no name with "é".
mkdir -p "$WORK/locales"
localedef -i de_DE -f UTF-8 "$WORK/locales/de_DE.UTF-8" 2>/dev/null || true
export LOCPATH="$WORK/locales"
export LANG=de_DE.UTF-8 LANGUAGE= LC_ALL= LC_MESSAGES=
start_panel

echo "== the buttons through MSAA"
expected=""
for name in "Minimize" "Record" "Close" "Stop Recording" "Convert Wav To mp3" "Play File" "Set Recording Schedule"; do
  translation=$(german "$name")
  [ "$translation" != "$name" ] || fail "the German catalogue leaves \"$name\" English"
  expected+="$translation"$'\n'
done
names=$($PROBE names | tr -d '\r') || fail "the panel cannot be read through MSAA"
[ "$(echo "$names" | head -7)" = "${expected%$'\n'}" ] || fail "the panel's buttons read: $(echo "$names" | tr '\n' ',')"

echo "== Play before any take"
click_play
expect_message "$(german "No recording has been saved yet: there is nothing to play.")"
finish
