# Sourced by the GUI scripts that drive the real program on drive W:, an
# NTFS image made for the test (never a disk of the host):
#   test_drive MiB PREFIX   makes and mounts it (or skips), starts a Wine
#                           session and links it as W: for a fresh server
# Sets work, img, mnt and link; everything goes when the script exits.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
. "$root/tests/win/support/ntfs_volume.sh"

# A new drive letter is seen only by a fresh wine server, and so is its going.
# Its output goes nowhere: a server, or a service it starts, left holding the
# script's output would keep CTest waiting for them long after the script ends.
restart() { settle; wineserver -p30 >/dev/null 2>&1; wine cmd /c exit >/dev/null 2>&1; }
# Every Wine process gone, so that no handle holds the drive. The session's
# server lingers 30 s after its last client: waiting for it would only idle.
settle() { wineserver -k 2>/dev/null; wineserver -w; }

test_drive() {
  ntfs_volume "$1" "$2"
  set +e  # the session script tolerates a wine server that already runs
  . "$root/scripts/wine-session.sh"
  link="$WINEPREFIX/dosdevices/w:"
  [ -e "$link" ] || [ -L "$link" ] && skip "drive W: is taken in this Wine prefix"
  trap 'rm -f "$link"; restart; unmount; rm -rf "$work"; tovo_session_end' EXIT
  ln -s "$mnt" "$link"
  restart
}
