#!/usr/bin/env bash
# The longest user-interface stall while a take of MIB mebibytes (default 1024) is saved to
# another file system (takes in /var/tmp, the target in /dev/shm, a tmpfs), as the panel saves
# it, against the same save on the user-interface thread.
# usage: bench/mci/save_stall.sh [MIB]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${MURMORA_BUILD:-$ROOT/build}
takes=$(mktemp -d /var/tmp/murmora-bench.XXXXXX)
targets=$(mktemp -d /dev/shm/murmora-bench.XXXXXX)
trap 'rm -rf "$takes" "$targets"' EXIT
"$BUILD/mci_bench_save_stall" "${1:-1024}" "$takes" "$targets"
