#!/usr/bin/env bash
# Without a sound server "open" fails at once; once a server has started, "open" finds it.
. "$(dirname "$0")/real_audio_lib.sh"
command -v pulseaudio >/dev/null || unavailable "pulseaudio is not installed"
runtime="$WORK/runtime"
mkdir -m 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime" PULSE_SERVER="unix:$runtime/pulse/native"
printf 'autospawn = no\n' > "$WORK/client.conf"
export PULSE_CLIENTCONFIG="$WORK/client.conf"
{
  printf '%s\n' "open new type waveaudio alias capture" "record capture"
  sleep 0.5
  own_server "$runtime"
  printf '%s\n' "open new type waveaudio alias capture" "record capture" "#sleep 1000" "stop capture" \
      "status capture length" "close capture"
  sleep 3 # the shell works through the lines above before the server goes
  audio_stop >/dev/null
} | timeout 60 "$MCI_SHELL" > "$WORK/out" 2> "$WORK/err" || fail "mci-shell did not finish: $(cat "$WORK/out")"
cat "$WORK/out"
expect_reply "$WORK/out" 1 306
expect_reply "$WORK/out" 2 263
expect_reply "$WORK/out" 3 0
expect_reply "$WORK/out" 4 0
length=$(sed -n 6p "$WORK/out" | cut -f2)
within "$length" 900 1200 || fail "the take after the server started lasts $length ms"
[ ! -s "$WORK/err" ] || fail "console noise on stderr: $(head -5 "$WORK/err")"
no_takes_left
echo "PASS"
