#!/usr/bin/env bash
# The disk fills in the middle of a take. The take stops there, the service goes on answering,
# "stop" reports the failed write, and the take saves: a playable file that holds every frame
# written before the disk refused more. The disk is a 1 MiB tmpfs holding the take folder where the test may
# mount one (root), else a 1 MiB file-size limit on the shell (the write then fails with EFBIG).
. "$(dirname "$0")/../audio/real_audio_lib.sh"
own_server
mkdir -p "$TAKES"
limit_kib=1024
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=${limit_kib}k murmora-full "$TAKES" 2>/dev/null; then
  cleanup_steps+=("umount '$TAKES'")
  how="a ${limit_kib} KiB file system"
  shell=("$MCI_SHELL")
else
  how="a ${limit_kib} KiB file-size limit"
  # SIGXFSZ ignored: the write fails and the service sees it, as with a full disk.
  shell=(bash -c "trap '' XFSZ; ulimit -f $limit_kib; exec \"\$0\"" "$MCI_SHELL")
fi
echo "disk: $how"
# 1 MiB holds about 5.9 s of 44.1 kHz 16-bit stereo: the take of 9 s outgrows it.
{
  printf '%s\n' "open new type waveaudio alias capture" "record capture" "#sleep 9000" "status capture mode" \
      "stop capture" "save capture $WORK/kept.wav" "close capture" "open new type waveaudio alias capture" \
      "close capture"
} | timeout 60 "${shell[@]}" > "$WORK/out" 2> "$WORK/err" ||
  fail "mci-shell did not finish: $(cat "$WORK/out" "$WORK/err")"
cat "$WORK/out"
expect_reply "$WORK/out" 1 0
expect_reply "$WORK/out" 2 0
expect_reply "$WORK/out" 3 0 stopped   # since the disk refused frames
expect_reply "$WORK/out" 4 512     # stop: the take file could not be written on
expect_reply "$WORK/out" 5 0       # save: what it holds is kept
expect_reply "$WORK/out" 6 0
expect_reply "$WORK/out" 7 0       # the space is free again for the next take
seconds=$(duration "$WORK/kept.wav") || fail "the saved take is no sound file"
within "$seconds" 4.5 6.2 || fail "the take holds $seconds s, not the ~5.9 s that fitted"
assert_tone "$WORK/kept.wav" 440 4.5 || fail "the kept take does not hold the tone"
# Every frame that reached the disk is in it: the header does not claim more than the data.
bytes=$(stat -c %s "$WORK/kept.wav")
within "$bytes" $((limit_kib * 1024 - 64 * 1024)) $((limit_kib * 1024)) || fail "the kept take is $bytes bytes"
echo "PASS: with $how the take kept $seconds s ($bytes bytes)"
