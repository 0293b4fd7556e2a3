# A private Wine prefix for the Windows tests, made once per run.
# usage:  . .ci/wine-env.sh; wine_start; ...tests...; wine_stop
# Start it with DISPLAY set to the test Xvfb screen and after audio_start (.ci/audio-env.sh):
# Wine's windows go to that screen, and its winepulse driver reaches the private PulseAudio
# server through PULSE_SERVER. Wine and the programs under it run in a UTF-8 locale
# (.ci/locale-env.sh): Wine makes the Unix names of Windows files in the locale's character set.
. "$(dirname "${BASH_SOURCE[0]}")/locale-env.sh"
wine_start() {
  utf8_locale || return 1
  WINE_DIR=$(mktemp -d /tmp/ci-wine.XXXXXX) || return 1
  # No Mono or Gecko: the tests need neither, and their installers would ask on the screen.
  export WINEPREFIX="$WINE_DIR/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # The first start makes the prefix (about 7 s); some of that work goes on after wineboot
  # returns, so wait for the server to end with it.
  mkdir "$WINEPREFIX" || return 1
  if ! { wine wineboot -i && wineserver -w; } </dev/null >"$WINE_DIR/wineboot.log" 2>&1; then
    echo "wineboot failed" >&2; cat "$WINE_DIR/wineboot.log" >&2; return 1
  fi
  # The user's shell folders (Documents, Desktop, ...) are links to the Linux home in a new
  # prefix: make them folders of the prefix's own, so that no test writes into that home.
  local folder
  for folder in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$folder" ]; then rm "$folder" && mkdir "$folder" || return 1; fi
  done
  # A server that stays up between programs, with Wine's services already running: each test
  # program then starts in a fraction of a second. The services write here, not into a
  # test's output, which ctest would wait on until they end.
  wineserver -p && wine wineboot </dev/null >>"$WINE_DIR/wineboot.log" 2>&1
}
wine_stop() {
  [ -n "${WINE_DIR:-}" ] || return 0
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$WINE_DIR"; WINE_DIR=
  return 0
}
