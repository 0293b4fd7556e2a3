#!/usr/bin/env bash
# The longest stall of the panel while a take of MINUTES (default 60) is encoded to FORMAT
# (default opus, the slowest to encode) at its save, as the user saves it. The take is recorded
# through the scripted backend at 25 times its speed, into a take folder under /var/tmp.
# Build encode-stall-bench first (in build/, or the folder in MURMORA_BUILD).
# usage: bench/encoding/encode_stall.sh [MINUTES] [flac|opus|mp3]
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/bench/stats.sh"
BENCH=$(built encode-stall-bench)
WORK=$(mktemp -d /var/tmp/murmora-encode-stall.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/takes" "$WORK/saved"
"$BENCH" "${2:-opus}" "${1:-60}" "$WORK/takes" "$WORK/saved"
