#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs each from its committed corpus for a bounded time.
# usage: scripts/fuzz.sh [seconds per target=30] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
build=build-fuzz
sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g -O1"
cmake -S . -B "$build" -DMURMORA_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(ls fuzz/*_fuzzer.cpp | xargs -n1 basename | sed 's/\.cpp$//'))
cmake --build "$build" --target "${targets[@]}" -j2 >/dev/null

status=0
for target in "${targets[@]}"; do
    corpus=fuzz/corpus/${target%_fuzzer}
    work=$(mktemp -d)
    cp -r "$corpus"/. "$work"/
    echo "== $target: ${seconds}s from $corpus"
    if ! "$build/$target" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="$PWD/$build/$target-" -print_final_stats=1 2>"$build/$target.log"; then
        status=1
        tail -40 "$build/$target.log"
    fi
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+.*DONE' "$build/$target.log" || true
    rm -rf "$work"
done
exit $status
