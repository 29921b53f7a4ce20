#!/usr/bin/env bash
# The free-space wipe driven in the real program on drive W:, a small NTFS
# image made for the test and mounted with ntfs-3g (never a disk of the host).
#   wipe_drive_gui.sh GUI_TESTS_EXE
# Exit 0 passed, 1 failed, 77 the machine cannot mount the image (skipped).
set -uo pipefail
exe=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/win/support/ntfs_volume.sh"
ntfs_volume 256 tovo-wipe-gui
fill keep.txt MARKER-keep- 20000
keep_sum=$(sha256sum <"$mnt/keep.txt")
set +e  # the session script tolerates a wine server that already runs
. "$root/scripts/wine-session.sh"
link="$WINEPREFIX/dosdevices/w:"
[ -e "$link" ] || [ -L "$link" ] && skip "drive W: is taken in this Wine prefix"
# A new drive letter is seen only by a fresh wine server, and so is its going.
restart() { wineserver -k 2>/dev/null; wineserver -w; wineserver -p30; wine cmd /c exit >/dev/null 2>&1; }
trap 'rm -f "$link"; restart; unmount; rm -rf "$work"; tovo_session_end' EXIT
ln -s "$mnt" "$link"
restart

failed=0
TOVO_TEST_WIPE_DRIVE=W: wine "$exe" --gtest_filter='WipeCommandGui.*' || failed=1
wineserver -w
[ "$(ls -A "$mnt")" = keep.txt ] || fail "more than the kept file is left: $(ls -A "$mnt")"
[ "$(sha256sum <"$mnt/keep.txt")" = "$keep_sum" ] || fail "the kept file changed"
exit "$failed"
