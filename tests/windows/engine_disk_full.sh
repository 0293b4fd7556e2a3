#!/usr/bin/env bash
# The disk of the take folder fills in the middle of a take through the take engine over WASAPI:
# the take says why the disk refused frames, and saves elsewhere as a playable file of what was
# written before. The disk is a 512 KiB tmpfs where the test may mount one (root), else a 512 KiB
# file-size limit on the Wine process.
. "$(dirname "$0")/engine_lib.sh"
need_server
disk="$WORK/disk"
takes="$disk/takes" # within the disk: Wine shows a mount point itself as a link
mkdir -p "$disk"
limit_kib=512
run=(timeout 60 wine "$PROBE")
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=${limit_kib}k murmora-full "$disk" 2>/dev/null; then
  cleanup_steps+=("umount '$disk'")
  echo "disk: a $limit_kib KiB file system"
else
  echo "disk: a $limit_kib KiB file-size limit"
  run=(bash -c "trap '' XFSZ; ulimit -f $limit_kib; exec \"\$@\"" - "${run[@]}")
fi
# 512 KiB hold about 3 s of 44.1 kHz 16-bit stereo: the take of 4 s outgrows it.
# A failed save shows the probe's words and what the two file systems hold. The save is judged
# by the probe's word and the file: a probe that ends badly once it saved is told apart.
status=0
output=$("${run[@]}" record 4 "$(winpath "$WORK/kept.wav")" "$(winpath "$takes")" 2>&1) || status=$?
[[ $output == *$'\n'saved* ]] ||
  fail "the take was not saved (the probe's status: $status): $output
$(df -k "$disk" "$WORK" 2>&1)
$(ls -la "$takes" "$WORK" 2>&1)"
echo "$output"
[ "$status" = 0 ] || echo "NOTE: the probe ended with status $status after the save"
[[ $output == *"write: ok"* ]] && fail "the take did not say that the disk refused frames"
assert_tone "$WORK/kept.wav" 440 2.5 || fail "the take does not hold what was written before the disk filled"
within "$(duration "$WORK/kept.wav")" 2.5 3.1 || fail "the kept take lasts $(duration "$WORK/kept.wav") s"
echo "PASS: kept $(duration "$WORK/kept.wav") s"
