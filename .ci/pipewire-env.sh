# A private headless PipeWire server with its PulseAudio-compatible server and a 440 Hz virtual
# microphone, for the real audio tests against PipeWire. Sourced by audio-env.sh when
# MURMORA_TEST_SERVER=pipewire, whose functions it replaces (same usage; the source is always the
# microphone). Needs pipewire, pipewire-pulse, wireplumber and dbus, but not pipewire-alsa,
# which would take ALSA's default device away from PulseAudio.
audio_start() {
  AUDIO_DIR=${2:-$(mktemp -d /tmp/ci-pipewire.XXXXXX)} && mkdir -p "$AUDIO_DIR" && chmod 700 "$AUDIO_DIR" || return 1
  export XDG_RUNTIME_DIR="$AUDIO_DIR" PIPEWIRE_RUNTIME_DIR="$AUDIO_DIR"
  export PULSE_SERVER="unix:$AUDIO_DIR/pulse/native"
  printf 'autospawn = no\n' > "$AUDIO_DIR/client.conf"
  export PULSE_CLIENTCONFIG="$AUDIO_DIR/client.conf"
  local out
  if ! kill -0 "${PW_BUS_PID:-}" 2>/dev/null; then # the session bus outlives a killed server
    out=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --address="unix:path=$AUDIO_DIR/bus") || return 1
    export DBUS_SESSION_BUS_ADDRESS=$(echo "$out" | sed -n 1p)
    PW_BUS_PID=$(echo "$out" | sed -n 2p)
  fi
  # A killed server leaves its sockets behind: without them gone, the wait below would not wait.
  rm -rf "$AUDIO_DIR"/pipewire-0* "$AUDIO_DIR/pulse"
  pipewire >"$AUDIO_DIR/pipewire.log" 2>&1 & PW_PID=$!
  for _ in $(seq 50); do [ -S "$AUDIO_DIR/pipewire-0" ] && break; sleep 0.1; done
  wireplumber >"$AUDIO_DIR/wireplumber.log" 2>&1 & PW_WP_PID=$!
  pipewire-pulse >"$AUDIO_DIR/pipewire-pulse.log" 2>&1 & PULSE_PID=$!
  SERVER_PIDS="$PULSE_PID $PW_WP_PID $PW_PID"
  local i=0
  until pactl info >/dev/null 2>&1; do
    i=$((i+1))
    [ $i -gt 100 ] && { echo "pipewire-pulse did not start" >&2; cat "$AUDIO_DIR"/*.log >&2; return 1; }
    sleep 0.1
  done
  # The output and the microphone, as in audio-env.sh: a null sink, and a tone fed to another
  # null sink whose monitor is the default source.
  pw_null_sink nullsink NullOutput || return 1
  pw_null_sink feed Feed || return 1
  pactl set-default-sink nullsink
  pactl set-default-source feed.monitor
  sox -q -n -r 44100 -c 2 -e signed -b 16 -t raw - synth 3600 sine 440 vol 0.5 |
    pacat -p -d feed --raw --rate=44100 --channels=2 --format=s16le --latency-msec=20 &
  FEED_PID=$!
  sleep 0.5
  timeout 10 parec -d feed.monitor --raw --format=s16le --rate=44100 --channels=2 2>/dev/null | head -c 88200 >/dev/null || true
  pactl info | grep -E '^(Server Name|Default Sink|Default Source):'
}
# A server that has just started may refuse a module for a moment ("Not supported"): try again.
pw_null_sink() { # NAME DESCRIPTION
  local i
  for i in $(seq 50); do
    pactl load-module module-null-sink sink_name="$1" sink_properties=device.description="$2" >/dev/null 2>&1 && break
    sleep 0.1
  done
  for i in $(seq 50); do
    pactl list short sinks | grep -q "[[:space:]]$1[[:space:]]" && return 0
    sleep 0.1
  done
  echo "the null sink $1 could not be made" >&2
  return 1
}
audio_stop() {
  local p
  for p in ${FEED_PID:-} ${SERVER_PIDS:-} ${PW_BUS_PID:-}; do kill -CONT "$p" 2>/dev/null; kill "$p" 2>/dev/null; done
  for p in ${FEED_PID:-} ${SERVER_PIDS:-}; do wait "$p" 2>/dev/null || true; done
  FEED_PID= SERVER_PIDS= PULSE_PID= PW_BUS_PID=
  [ -n "${AUDIO_DIR:-}" ] && rm -rf "$AUDIO_DIR"
  return 0
}
