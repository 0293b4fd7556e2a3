#!/usr/bin/env bash
# The take folder fills in the middle of a take. The panel tells it at once, without waiting for
# Stop, in the words of the system ("No space left on device"), and offers the take for saving:
# the saved file holds every frame written before the disk refused more. Once the take has gone
# from the folder, the next take works. The folder is a 1 MiB tmpfs where the test may mount
# one (root), else the program runs under a 1 MiB file-size limit ("File too large").
. "$(dirname "$0")/program_faults_lib.sh"
server_start
limit_kib=1024
mkdir -p "$TAKES"
launcher=()
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=${limit_kib}k murmora-full "$TAKES" 2>/dev/null; then
  cleanup_steps+=("umount -l '$TAKES'")
  reason="No space left on device"
else
  # SIGXFSZ ignored: the write fails and the engine sees it, as with a full disk.
  launcher=(bash -c "trap '' XFSZ; ulimit -f $limit_kib; exec \"\$0\"")
  reason="File too large"
fi
start_app "${launcher[@]}"

echo "== a take outgrows the folder ($reason)"
record_button
# 1 MiB holds about 5.9 s of 44.1 kHz 16-bit stereo.
wait_until_told "$(now_ns)" "the disk was full"
within "$told_ms" 4500 7500 || fail "the full disk was told $told_ms ms into the take, not when it filled (~5.9 s)"
expect_box warning "The file for the recording could not be written to its end ($reason).

What was recorded until then is kept and will be saved."
answer_save_dialog "$HOME/kept.wav"
expect_box information "Recording saved as  $HOME/kept.wav"
seconds=$(soxi -D "$HOME/kept.wav") || fail "the saved take is no sound file"
within "$seconds" 4.5 6.0 || fail "the take holds $seconds s, not the ~5.9 s that fitted"
expect_take "$HOME/kept.wav" 4.5

echo "== the next take works"
expect_next_take "$HOME/next.wav"
close_app
echo "PASS: the full disk was told $told_ms ms into the take, which kept $seconds s"
