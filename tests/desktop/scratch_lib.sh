# A scratch folder for a desktop test, which is also the program's home and take folder
# (nothing of the user's is found or touched), and the processes the test starts (`pids`):
# both gone when the test exits.
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
