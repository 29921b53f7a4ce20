#!/usr/bin/env bash
# The Recycle Bin command and the start-up clean-up of a killed wipe, driven
# in the real program on drive W:, a small NTFS image made for the test; then
# the raw image is searched for what the shredded bin items held.
#   recycle_bin_gui.sh GUI_TESTS_EXE
# Exit 0 passed, 1 failed, 77 the machine cannot mount the image (skipped).
set -uo pipefail
exe=$1
. "$(dirname "$0")/support/test_drive.sh"
test_drive 64 tovo-bin-gui
fill keep.txt MARKER-keep- 20000
keep_sum=$(sha256sum <"$mnt/keep.txt")
# A fill folder as a wipe killed during its record fill leaves it.
fill_dir="$mnt/TovoShred擦除临时文件-可删除"
mkdir -p "$fill_dir/00000001"
head -c 8000000 /dev/urandom >"$fill_dir/00000000"
for i in 1 2 3; do head -c 300 /dev/urandom >"$fill_dir/00000001/$(printf '0%.0s' $(seq 120))$i"; done

failed=0
export TOVO_TEST_BIN_DRIVE=W:
wine "$exe" --gtest_filter='FillCleanupGui.*' || failed=1
wine "$exe" --gtest_filter='RecycleBinGui.*' || failed=1
settle
[ "$(ls -A "$mnt")" = keep.txt ] || fail "more than the kept file is left: $(ls -A "$mnt")"
[ "$(sha256sum <"$mnt/keep.txt")" = "$keep_sum" ] || fail "the kept file changed"
unmount
in_image BINMARK- && fail "the contents of shredded bin items are in the image"
in_image BINORIG utf-16 && fail "original paths from the shredded records are in the image"
names=$(fls -r "$img" | grep -E '\$[RI](A1B2C3|TREE01|LONE|BAD)')
[ -z "$names" ] || fail "The Sleuth Kit lists shredded bin entries: $names"
exit "$failed"
