#!/usr/bin/env bash
# "save" of a take of MIB mebibytes (default 1024) on the same file system as the take folder,
# against a copy of the saved file (what a save that copied the take would cost).
# usage: bench/mci/save.sh [MIB]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${MURMORA_BUILD:-$ROOT/build}
folder=$(mktemp -d /var/tmp/murmora-bench.XXXXXX)
trap 'rm -rf "$folder"' EXIT
"$BUILD/mci_bench_save" "${1:-1024}" "$folder"
start=$(date +%s%N)
cp "$folder/bench-saved-take.wav" "$folder/copy.wav" && sync "$folder/copy.wav"
copy_ms=$(( ($(date +%s%N) - start) / 1000000 ))
echo "reference: cp of the saved take: $copy_ms ms"
echo "copy_ms=$copy_ms"
