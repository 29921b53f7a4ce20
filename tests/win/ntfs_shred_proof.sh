#!/usr/bin/env bash
# What a recovery tool finds of shredded files on a real NTFS volume: the
# engine runs under Wine on an ntfs-3g mount of a small image, then the
# unmounted image is read raw and with The Sleuth Kit.
#   ntfs_shred_proof.sh SHRED_PATHS_EXE
# Exit 0 proven, 1 something of a shredded item is still readable, 77 the
# machine cannot do it (skipped, with the reason).
set -uo pipefail
tool=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; failed=1; }

for c in mkntfs ntfs-3g fls istat mountpoint; do
  command -v "$c" >/dev/null || skip "$c is not installed (packages ntfs-3g, sleuthkit)"
done
[ -c /dev/fuse ] || skip "no FUSE device (/dev/fuse)"

work=$(mktemp -d /tmp/tovo-ntfs.XXXXXX)
img=$work/vol.img mnt=$work/mnt
unmount() {
  mountpoint -q "$mnt" || return 0
  sync
  for _ in $(seq 25); do umount "$mnt" 2>/dev/null && return 0; sleep 0.2; done
  # A Wine process or the server may still hold a handle on the volume.
  wineserver -k 2>/dev/null
  for _ in $(seq 25); do umount "$mnt" 2>/dev/null && return 0; sleep 0.2; done
  umount -l "$mnt"
}
trap 'unmount; rm -rf "$work"' EXIT

dd if=/dev/zero of="$img" bs=1M count=32 status=none
mkntfs -F -Q -q "$img" >/dev/null 2>&1 || skip "mkntfs cannot make a volume here"
mkdir "$mnt"
# hard_remove: a file deleted while open goes at once, not renamed to
# .fuse_hidden…, so the names left are the engine's own.
ntfs-3g -o hard_remove "$img" "$mnt" 2>"$work/mount.err" || skip "cannot mount with ntfs-3g: $(cat "$work/mount.err")"

# Each file repeats its own marker; sizes span clusters and a resident record.
fill() {  # path marker size
  python3 -c 'import sys; m=sys.argv[2].encode(); n=int(sys.argv[3]); sys.stdout.buffer.write((m*(n//len(m)+1))[:n])' \
    _ "$2" "$3" >"$mnt/$1"
}
mkdir -p "$mnt/tree/sub1/deep" "$mnt/tree/sub2"
fill big.bin MARKER-big- $((3 << 20))
fill secret-mid.txt MARKER-mid- 10000
fill tiny.txt MARKER-tiny- 300
fill 机密合同.docx MARKER-cn- 5000
fill tree/sub1/a.txt MARKER-ta- 6000
fill tree/sub1/deep/b.txt MARKER-tb- 200
fill tree/sub2/c.txt MARKER-tc- 12000
fill keep.txt MARKER-keep- 2000
sync

win() { printf 'Z:%s' "$1" | tr / '\\'; }
"$root/scripts/wine-exec.sh" "$tool" "$(win "$mnt/big.bin")" "$(win "$mnt/secret-mid.txt")" \
  "$(win "$mnt/tiny.txt")" "$(win "$mnt/机密合同.docx")" "$(win "$mnt/tree")" \
  >"$work/shred.out" 2>/dev/null
rc=$?
tr -d '\r' <"$work/shred.out"
failed=0
[ "$rc" -eq 0 ] || fail "the engine left items behind (exit $rc)"
[ -e "$mnt/keep.txt" ] || fail "the unselected file is gone"
ls -A "$mnt"
unmount || { echo "FAILED: the volume could not be unmounted"; exit 1; }

in_image() {  # text [utf-16]: whether the raw image holds it (UTF-8 or UTF-16LE)
  python3 -c 'import sys; t=sys.argv[2].encode("utf-16-le" if sys.argv[3:] else "utf-8"); sys.exit(0 if t in open(sys.argv[1],"rb").read() else 1)' "$img" "$@"
}
for m in big mid tiny cn ta tb tc; do
  in_image "MARKER-$m-" && fail "contents of a shredded file ($m) are in the raw image"
done
in_image MARKER-keep- || fail "the unselected file's contents are not in the image"

fls -r -d "$img" >"$work/deleted.txt" || fail "fls cannot read the volume"
echo "-- deleted entries (fls -r -d):"
cat "$work/deleted.txt"
for name in big.bin secret-mid.txt tiny.txt 机密合同.docx tree sub1 sub2 deep a.txt b.txt c.txt; do
  grep -qP "\t(.*/)?\Q$name\E( |$)" "$work/deleted.txt" && fail "fls lists the original name $name"
done
# Every deleted file record: no data left, by size, and the neutral time. The
# creation time stays: Wine has no way to set it on a Unix file system.
while IFS= read -r line; do
  record=$(sed -n 's/^[^ ]*\/r \* *\([0-9]*\)-.*/\1/p' <<<"$line")
  [ -n "$record" ] || continue
  istat "$img" "$record" >"$work/istat.txt" 2>/dev/null || continue
  if grep -q 'Type: \$DATA' "$work/istat.txt" &&
    ! grep 'Type: \$DATA' "$work/istat.txt" | grep -q 'size: 0\b'; then
    fail "record $record still gives a data size: $(grep 'Type: \$DATA' "$work/istat.txt")"
  fi
  grep -q 'File Modified:[[:space:]]*1980-01-01 00:00:00' "$work/istat.txt" ||
    fail "record $record keeps its last-write time"
done <"$work/deleted.txt"

# Names can outlive a rename in the slack of a folder's index block, which no
# program can reach without raw disk access: reported, not failed.
for name in big.bin secret-mid.txt tiny.txt 机密合同.docx tree sub1 a.txt; do
  in_image "$name" utf-16 && echo "note: '$name' is still in the raw image as UTF-16"
done
exit "$failed"
