# Sourced by the NTFS proofs: a small NTFS image made for the test, mounted
# with ntfs-3g, and the helpers to fill, unmount and address it from Wine.
#   ntfs_volume MiB PREFIX   makes and mounts it (or skips with the reason)
# Sets work, img and mnt; the image and its mount go when the script exits.
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; failed=1; }

unmount() {
  mountpoint -q "$mnt" || return 0
  sync
  for _ in $(seq 25); do umount "$mnt" 2>/dev/null && return 0; sleep 0.2; done
  # A Wine process or the server may still hold a handle on the volume.
  wineserver -k 2>/dev/null
  for _ in $(seq 25); do umount "$mnt" 2>/dev/null && return 0; sleep 0.2; done
  umount -l "$mnt"
}

mount_image() {
  # hard_remove: a file deleted while open goes at once, not renamed to
  # .fuse_hidden…, so the names left are the program's own.
  ntfs-3g -o hard_remove "$img" "$mnt" 2>"$work/mount.err"
}

ntfs_volume() {
  for c in mkntfs ntfs-3g fls istat fsstat mountpoint python3; do
    command -v "$c" >/dev/null || skip "$c is not installed (packages ntfs-3g, sleuthkit)"
  done
  [ -c /dev/fuse ] || skip "no FUSE device (/dev/fuse)"
  work=$(mktemp -d "/tmp/$2.XXXXXX")
  img=$work/vol.img mnt=$work/mnt
  trap 'unmount; rm -rf "$work"' EXIT
  dd if=/dev/zero of="$img" bs=1M count="$1" status=none
  mkntfs -F -Q -q "$img" >/dev/null 2>&1 || skip "mkntfs cannot make a volume here"
  mkdir "$mnt"
  mount_image || skip "cannot mount with ntfs-3g: $(cat "$work/mount.err")"
}

# Each file repeats its own marker; sizes span clusters and a resident record.
fill() {  # path marker size
  python3 -c 'import sys; m=sys.argv[2].encode(); n=int(sys.argv[3]); sys.stdout.buffer.write((m*(n//len(m)+1))[:n])' \
    _ "$2" "$3" >"$mnt/$1"
}

# Whether the raw image holds the text (UTF-8, or UTF-16LE with a second
# argument).
in_image() {  # text [utf-16]
  python3 -c 'import sys; t=sys.argv[2].encode("utf-16-le" if sys.argv[3:] else "utf-8"); sys.exit(0 if t in open(sys.argv[1],"rb").read() else 1)' "$img" "$@"
}

# The Wine path of a Linux path, through Z:.
win() { printf 'Z:%s' "$1" | tr / '\\'; }
