# Shared by the tests that work the whole program under the test run's X server (DISPLAY) as a
# screen reader and a keyboard user would:
#   bash TEST.sh PROGRAM MESSAGE_BOX_REFERENCE AUDIO_ENV
# On the fault tests' ground (a home, take folder and sound server of the test's own, with the
# 440 Hz microphone; ../faults/program_faults_lib.sh), a session bus of its own, on which the
# accessibility bus (at-spi2-core) runs and Qt offers the program to it as it does for a screen
# reader. PROBE reads and works the program over that bus (atspi_probe.py).
. "$(dirname "${BASH_SOURCE[0]}")/../faults/program_faults_lib.sh"
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
PROBE="/usr/bin/python3 $HERE/atspi_probe.py"
command -v dbus-daemon >/dev/null || unavailable "dbus-daemon is not installed"
[ -x /usr/libexec/at-spi-bus-launcher ] || unavailable "at-spi2-core is not installed"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || unavailable "python3-pyatspi is not installed"

server_start
# The bus's socket in the runtime folder the sound server made.
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --address="unix:path=$XDG_RUNTIME_DIR/bus")
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
pids+=("$(echo "$bus" | sed -n 2p)")
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$WORK/at-spi.log" 2>&1 &
pids+=($!)
# Qt offers the program to the accessibility bus although no screen reader asked for it.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1


# Waits up to 10 s for the program to end by itself, with status 0.
expect_end() { # WHAT ENDED IT
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$APP_PID" 2>/dev/null && fail "the program still runs 10 s after $*"
  local status=0
  wait "$APP_PID" || status=$?
  [ "$status" = 0 ] || fail "the program ended with status $status after $*"
}

# The number of the program's streams recording from the sound server.
recordings() { pactl list source-outputs | grep -c 'application.name = "Murmora"' || true; }
# Waits up to 5 s for the program to record from the server in N streams.
expect_recordings() { # N WHAT
  for _ in $(seq 50); do [ "$(recordings)" = "$1" ] && return 0; sleep 0.1; done
  fail "the program records in $(recordings) streams, not $1, after $2"
}

# Waits up to 10 s for the window to go.
wait_gone() {
  for _ in $(seq 100); do xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0; sleep 0.1; done
  return 1
}
