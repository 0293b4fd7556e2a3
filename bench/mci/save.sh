#!/usr/bin/env bash
# "save" of a take of MIB mebibytes (default 1024) on the same file system as the take folder.
# usage: bench/mci/save.sh [MIB]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${MURMORA_BUILD:-$ROOT/build}
folder=$(mktemp -d /var/tmp/murmora-bench.XXXXXX)
trap 'rm -rf "$folder"' EXIT
"$BUILD/mci_bench_save" "${1:-1024}" "$folder"
