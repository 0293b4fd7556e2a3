# A scratch folder for a desktop test, which is also the program's home and take folder
# (nothing of the user's is found or touched), and the processes the test starts (`pids`):
# both gone when the test exits. Then the check that the X server and tools are there.
work=$(mktemp -d /tmp/murmora-desktop.XXXXXX)
chmod 700 "$work"
export HOME="$work" XDG_CACHE_HOME="$work/cache"
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A test that lacks the test run's X server (DISPLAY) or a tool fails in CI and skips elsewhere.
SKIP=77
unavailable() {
  if [ "${CI:-}" = true ]; then echo "FAIL: $*"; exit 1; fi
  echo "SKIP: $*"; exit $SKIP
}
need_x_server_and() { # TOOL...
  [ -n "${DISPLAY:-}" ] || unavailable "no DISPLAY: run under Xvfb"
  xdpyinfo >/dev/null 2>&1 || unavailable "no X server at $DISPLAY"
  local tool
  for tool; do command -v "$tool" >/dev/null || unavailable "$tool is not installed"; done
}
