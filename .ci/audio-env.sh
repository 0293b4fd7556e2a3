# A private headless PulseAudio server with a known-signal default source, for the real audio
# tests and the benchmarks. With MURMORA_TEST_SERVER=pipewire the same functions start PipeWire
# and its PulseAudio-compatible server instead (.ci/pipewire-env.sh).
# usage:  . .ci/audio-env.sh; audio_start [sine|mic] [DIR]; ...tests...; audio_stop
#   DIR: the runtime folder to use (made when missing); a fresh one under /tmp by default
#   sine: module-sine-source 440 Hz (no helper process; delivers in 2 s blocks)
#   mic : remap source over a null sink fed by a paced 440 Hz tone (real-time, ~20 ms blocks)
# SERVER_PIDS: the server's processes. audio_kill kills them (the runtime folder stays, so that
# audio_start with the same DIR starts it again there); audio_pause and audio_resume stop them
# with SIGSTOP and let them go on.
audio_start() {
  AUDIO_MODE=${1:-sine}
  AUDIO_DIR=${2:-$(mktemp -d /tmp/ci-pulse.XXXXXX)} && mkdir -p "$AUDIO_DIR" && chmod 700 "$AUDIO_DIR" || return 1
  export XDG_RUNTIME_DIR="$AUDIO_DIR"                    # server socket: $AUDIO_DIR/pulse/native
  export PULSE_SERVER="unix:$AUDIO_DIR/pulse/native"     # pins libpulse, the ALSA pulse plugin and Qt to it
  printf 'autospawn = no\n' > "$AUDIO_DIR/client.conf"
  export PULSE_CLIENTCONFIG="$AUDIO_DIR/client.conf"
  {
    echo "load-module module-native-protocol-unix auth-anonymous=1"
    echo "load-module module-null-sink sink_name=nullsink rate=44100 channels=2 sink_properties=device.description=NullOutput"
    if [ "$AUDIO_MODE" = mic ]; then
      echo "load-module module-null-sink sink_name=feed rate=44100 channels=2 sink_properties=device.description=Feed"
      echo "load-module module-remap-source master=feed.monitor source_name=mic source_properties=device.description=TestMic"
      echo "set-default-source mic"
    else
      echo "load-module module-sine-source source_name=sine440 rate=44100 frequency=440"
      echo "set-default-source sine440"
    fi
    echo "set-default-sink nullsink"
  } > "$AUDIO_DIR/ci.pa"
  HOME="$AUDIO_DIR" pulseaudio -n -F "$AUDIO_DIR/ci.pa" --daemonize=no --exit-idle-time=-1 \
      --use-pid-file=no --log-target=file:"$AUDIO_DIR/pulse.log" --log-level=notice &
  PULSE_PID=$!
  SERVER_PIDS=$PULSE_PID
  i=0
  until pactl info >/dev/null 2>&1; do
    i=$((i+1))
    if [ $i -gt 100 ] || ! kill -0 "$PULSE_PID" 2>/dev/null; then
      echo "pulseaudio did not start" >&2; cat "$AUDIO_DIR/pulse.log" >&2; return 1
    fi
    sleep 0.1
  done
  FEED_PID=
  if [ "$AUDIO_MODE" = mic ]; then   # endless tone, paced by the server clock (or: pacat -p -d feed --latency-msec=20 known.wav)
    sox -q -n -r 44100 -c 2 -e signed -b 16 -t raw - synth 3600 sine 440 vol 0.5 |
      pacat -p -d feed --raw --rate=44100 --channels=2 --format=s16le --latency-msec=20 &
    FEED_PID=$!; sleep 0.5
    # A fresh source takes over a second to deliver its first frames: read past that here, so
    # that a take started now lasts as long as it was recorded for.
    timeout 10 parec -d mic --raw --format=s16le --rate=44100 --channels=2 2>/dev/null | head -c 88200 >/dev/null || true
  fi
  pactl info | grep -E '^(Server Version|Default Sink|Default Source):'
}
audio_stop() {
  # A killed process answers wait with its signal's status; under set -e that would become the
  # caller's exit status.
  [ -n "${FEED_PID:-}" ] && { kill -TERM "$FEED_PID" 2>/dev/null || true; wait "$FEED_PID" 2>/dev/null || true; FEED_PID=; }
  # A server a test stopped (SIGSTOP) and left so would take the TERM only once it goes on.
  [ -n "${PULSE_PID:-}" ] && { kill -CONT "$PULSE_PID" 2>/dev/null; kill -TERM "$PULSE_PID" 2>/dev/null || true; wait "$PULSE_PID" 2>/dev/null || true; PULSE_PID=; }
  SERVER_PIDS=
  [ -n "${AUDIO_DIR:-}" ] && rm -rf "$AUDIO_DIR"
  return 0
}
audio_kill() { # the feed may end with the server: neither kill may fail the caller
  local p
  for p in ${SERVER_PIDS:-} ${FEED_PID:-}; do kill -KILL "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  SERVER_PIDS= PULSE_PID= FEED_PID=
  return 0
}
audio_pause() { local p; for p in ${SERVER_PIDS:-}; do kill -STOP "$p"; done; }
audio_resume() { local p; for p in ${SERVER_PIDS:-}; do kill -CONT "$p"; done; }
# assert_tone FILE [HZ=440] [MIN_SECONDS=1]: 1st channel is a ~HZ sine at RMS ~0.354 (-9 dBFS)
assert_tone() {
  sox "$1" -n remix 1 stat 2>&1 | awk -v hz="${2:-440}" -v min="${3:-1}" -v f="$1" '
    /^Length \(seconds\)/ {len=$3} /^RMS +amplitude/ {rms=$3} /^Rough +frequency/ {fr=$3}
    END { ok = (len >= min && rms > 0.30 && rms < 0.40 && fr >= hz*0.97 && fr <= hz*1.03)
          printf "%s: len=%ss rms=%s freq=%sHz -> %s\n", f, len, rms, fr, (ok ? "OK" : "FAIL"); exit !ok }'
}
if [ "${MURMORA_TEST_SERVER:-pulseaudio}" = pipewire ]; then . "$(dirname "${BASH_SOURCE[0]}")/pipewire-env.sh"; fi
