#!/usr/bin/env bash
# The Windows panel in German under Wine, as a user whose Windows display language is German and
# whose formats are English sees it: Wine takes the display language from LC_MESSAGES and the
# formats from LANG. The panel starts with none of LANGUAGE, LC_ALL, LC_MESSAGES and LANG in its
# Windows environment, so gettext asks Windows for the display language. The buttons read through
# MSAA, and the box that Play before any take shows, are in the words of the German catalogue
# beside murmora.exe.
. "$(dirname "$0")/panel_lib.sh"
command -v gettext >/dev/null || unavailable "gettext-base is not installed"
command -v localedef >/dev/null && [ -d /usr/share/i18n/locales ] || unavailable "locales is not installed"
CATALOGUES=$(dirname "$MURMORA_EXE")/locale
PROBE="wine $(dirname "$MURMORA_EXE")/msaa_probe.exe"
german() { LANGUAGE=de LC_ALL=C.UTF-8 TEXTDOMAINDIR=$CATALOGUES gettext -d murmora "$1"; }

# Wine's own side needs the locale, or its display language stays English.
mkdir -p "$WORK/locales"
localedef -i de_DE -f UTF-8 "$WORK/locales/de_DE.UTF-8" 2>/dev/null || true
export LOCPATH="$WORK/locales"
export LANG=C.UTF-8 LC_MESSAGES=de_DE.UTF-8
unset LANGUAGE LC_ALL
# Wine hands both on to its Windows programs; a batch file clears them for the panel alone.
printf '@set LANG=\r\n@set LC_MESSAGES=\r\n@"%s"\r\n' "$(winepath -w "$MURMORA_EXE")" >"$WORK/german.bat"
start_panel cmd /c "$WORK_WIN\\german.bat"

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
