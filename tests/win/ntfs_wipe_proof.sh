#!/usr/bin/env bash
# What a recovery tool finds of deleted files on a real NTFS volume after the
# free-space wipe: files removed ordinarily and files shredded by the engine,
# then the wipe under Wine on an ntfs-3g mount of a small image made for it,
# then the unmounted image read raw and with The Sleuth Kit.
#   ntfs_wipe_proof.sh WIPE_FREE_SPACE_EXE SHRED_PATHS_EXE
# Exit 0 proven, 1 something of a deleted item is still readable or the fill
# was not given back, 77 the machine cannot do it (skipped, with the reason).
set -uo pipefail
wipe=$1 shred=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/win/support/ntfs_volume.sh"
ntfs_volume 64 tovo-wipe

# Removed ordinarily (rm through ntfs-3g): from the root and as a whole tree.
removed_names=(rm-big-file.bin rm-secret-mid.txt rm-tiny.txt 删除的机密合同.docx rm-tree rm-sub1 rm-sub2
  rm-deep rm-a.txt rm-b.txt rm-c.txt)
mkdir -p "$mnt/rm-tree/rm-sub1/rm-deep" "$mnt/rm-tree/rm-sub2"
fill rm-big-file.bin MARKER-rbig- $((5 << 20))
fill rm-secret-mid.txt MARKER-rmid- 10000
fill rm-tiny.txt MARKER-rtiny- 300
fill 删除的机密合同.docx MARKER-rcn- 5000
fill rm-tree/rm-sub1/rm-a.txt MARKER-ra- 6000
fill rm-tree/rm-sub1/rm-deep/rm-b.txt MARKER-rb- 200
fill rm-tree/rm-sub2/rm-c.txt MARKER-rc- 12000
# Shredded by the engine; the first four lie directly in the root, which stays.
shredded_top=(sh-big-file.bin sh-tiny.txt 粉碎的名单.txt sh-tree)
shredded_names=("${shredded_top[@]}" sh-sub sh-x.txt sh-y.txt)
mkdir -p "$mnt/sh-tree/sh-sub"
fill sh-big-file.bin MARKER-sbig- $((3 << 20))
fill sh-tiny.txt MARKER-stiny- 300
fill 粉碎的名单.txt MARKER-scn- 4000
fill sh-tree/sh-x.txt MARKER-sx- 7000
fill sh-tree/sh-sub/sh-y.txt MARKER-sy- 250
fill keep.txt MARKER-keep- 20000
keep_sum=$(sha256sum <"$mnt/keep.txt")
sync

# Where a name found in the raw image lies: the root folder's own index (its
# record and its index blocks), which stays in use, or anywhere else.
scan() {  # label names...: prints "label: N in the root index, M elsewhere" and the names elsewhere
  python3 - "$img" "$@" <<'PY'
import re, subprocess, sys
img, label, names = sys.argv[1], sys.argv[2], sys.argv[3:]
data = open(img, "rb").read()
fs = subprocess.run(["fsstat", img], capture_output=True, text=True).stdout
cluster = int(re.search(r"Cluster Size: (\d+)", fs).group(1))
def runs(record, kind):
    out = subprocess.run(["istat", img, str(record)], capture_output=True, text=True).stdout
    blocks, on = [], False
    for line in out.splitlines():
        if line.startswith("Type: "):
            on = line.startswith("Type: " + kind)
        elif on:
            blocks += [int(b) for b in line.split() if b.isdigit()]
    return blocks
mft = runs(0, "$DATA")
root_record = (mft[0] * cluster + 5 * 1024, mft[0] * cluster + 6 * 1024)
ranges = [root_record] + [(b * cluster, (b + 1) * cluster) for b in runs(5, "$INDEX_ALLOCATION")]
inside = elsewhere = 0
for name in names:
    for m in re.finditer(re.escape(name.encode("utf-16-le")), data):
        if any(lo <= m.start() < hi for lo, hi in ranges):
            inside += 1
        else:
            elsewhere += 1
            print(f"  '{name}' at byte {m.start()}")
print(f"{label}: {inside} in the root index, {elsewhere} elsewhere")
PY
}
free_space() { set -- $(stat -f -c '%a %S' "$mnt"); echo $(($1 * $2)); }
table_size() { istat "$img" 0 | sed -n 's/^Type: \$DATA.*[^_]size: \([0-9]*\).*/\1/p' | head -1; }

failed=0
rm -rf "$mnt/rm-big-file.bin" "$mnt/rm-secret-mid.txt" "$mnt/rm-tiny.txt" "$mnt/删除的机密合同.docx" "$mnt/rm-tree"
unmount || { echo "FAILED: the volume could not be unmounted"; exit 1; }
scan "removed, after rm" "${removed_names[@]}"
mount_image || { echo "FAILED: cannot mount again"; exit 1; }
args=()
for n in "${shredded_top[@]}"; do args+=("$(win "$mnt/$n")"); done
"$root/scripts/wine-exec.sh" "$shred" "${args[@]}" >"$work/shred.out" 2>/dev/null ||
  fail "the engine left shredded items behind: $(tr -d '\r' <"$work/shred.out")"
(. "$root/scripts/wine-env.sh" && wineserver -w)
unmount || { echo "FAILED: the volume could not be unmounted"; exit 1; }

scan "shredded, after the shred" "${shredded_top[@]}" | tee "$work/scan0.txt"
grep -q ': 0 in the root index, 0 elsewhere' "$work/scan0.txt" ||
  fail "the shred left names of what it removed directly from the root"
scan "removed, before the wipe" "${removed_names[@]}"
table_before=$(table_size)

mount_image || { echo "FAILED: cannot mount again"; exit 1; }
free_before=$(free_space)
# What a run killed part way leaves: the next wipe removes it first.
mkdir -p "$mnt/TovoShred擦除临时文件-可删除/00000001"
fill "TovoShred擦除临时文件-可删除/00000001/$(printf '0%.0s' {1..120})" MARKER-left- 300
"$root/scripts/wine-exec.sh" "$wipe" "$(win "$mnt")" >"$work/wipe.out" 2>/dev/null
rc=$?
tr -d '\r' <"$work/wipe.out"
(. "$root/scripts/wine-env.sh" && wineserver -w)
[ "$rc" -eq 0 ] || fail "the wipe failed (exit $rc)"
grep -q leftover-removed "$work/wipe.out" || fail "the fill of a killed run was not recognised"
seen=$(sed -n 's/.*free-before \([0-9]*\).*/\1/p' "$work/wipe.out" | tr -d '\r')
echo "free space before: $free_before bytes (statfs), ${seen:-?} (GetDiskFreeSpaceExW under Wine)"
free_after=$(free_space)
echo "free space after: $free_after bytes"
[ "$(ls -A "$mnt")" = keep.txt ] || fail "more than the kept file is left: $(ls -A "$mnt")"
[ "$(sha256sum <"$mnt/keep.txt")" = "$keep_sum" ] || fail "the kept file changed"
unmount || { echo "FAILED: the volume could not be unmounted"; exit 1; }

diff=$((free_before - free_after))
echo "free space lost: $diff bytes"
[ "${diff#-}" -le $((2 << 20)) ] || fail "the free space afterwards is not within 2 MiB of before"
table_after=$(table_size)
echo "file table: $table_before bytes before, $table_after after"
[ $((table_after - table_before)) -le $((2 << 20)) ] || fail "the file table grew by more than 2 MiB"

for m in rbig rmid rtiny rcn ra rb rc sbig stiny scn sx sy; do
  in_image "MARKER-$m-" && fail "contents of a deleted file ($m) are in the raw image"
done
in_image MARKER-keep- || fail "the kept file's contents are not in the image"
fls -r -d "$img" >"$work/deleted.txt" || fail "fls cannot read the volume"
for name in "${removed_names[@]}" "${shredded_names[@]}"; do
  grep -qP "\t(.*/)?\Q$name\E( |$)" "$work/deleted.txt" && fail "fls -r -d lists $name"
done
fls -r "$img" | grep -v '^[^ ]* \*' | grep -F "擦除临时文件" && fail "fill entries are still live"
scan "removed, after the wipe" "${removed_names[@]}" | tee "$work/scan1.txt"
grep -q ' 0 elsewhere' "$work/scan1.txt" || fail "names of removed files outside the root index"
scan "shredded, after the wipe" "${shredded_names[@]}" | tee "$work/scan2.txt"
grep -q ': 0 in the root index, 0 elsewhere' "$work/scan2.txt" || fail "names of shredded files remain"
exit "$failed"
