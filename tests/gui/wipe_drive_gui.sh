#!/usr/bin/env bash
# The free-space wipe driven in the real program on drive W:, a small NTFS
# image made for the test and mounted with ntfs-3g (never a disk of the host).
#   wipe_drive_gui.sh GUI_TESTS_EXE
# Exit 0 passed, 1 failed, 77 the machine cannot mount the image (skipped).
set -uo pipefail
exe=$1
. "$(dirname "$0")/support/test_drive.sh"
test_drive 256 tovo-wipe-gui
fill keep.txt MARKER-keep- 20000
keep_sum=$(sha256sum <"$mnt/keep.txt")

failed=0
TOVO_TEST_WIPE_DRIVE=W: wine "$exe" --gtest_filter='WipeCommandGui.*' || failed=1
settle
[ "$(ls -A "$mnt")" = keep.txt ] || fail "more than the kept file is left: $(ls -A "$mnt")"
[ "$(sha256sum <"$mnt/keep.txt")" = "$keep_sum" ] || fail "the kept file changed"
exit "$failed"
