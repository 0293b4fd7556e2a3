#!/usr/bin/env bash
# A take folder that is a link to another folder is refused, and nothing is written through it.
. "$(dirname "$0")/engine_lib.sh"
mkdir "$WORK/elsewhere"
ln -s "$WORK/elsewhere" "$WORK/probe-takes"
output=$(timeout 60 wine "$PROBE" record 1 "$(winpath "$WORK/take.wav")" 2>&1) && fail "a take was made through a link: $output"
echo "$output"
[[ $output == *"the folder is a link to another place"* ]] || fail "the refusal did not say why"
[ -z "$(ls -A "$WORK/elsewhere")" ] || fail "files were written through the link: $(ls "$WORK/elsewhere")"
echo "PASS: refused"
