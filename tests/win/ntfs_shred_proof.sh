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
. "$root/tests/win/support/ntfs_volume.sh"
ntfs_volume 32 tovo-ntfs

mkdir -p "$mnt/tree/sub1/deep" "$mnt/tree/sub2"
fill big.bin MARKER-big- $((3 << 20))
fill secret-mid.txt MARKER-mid- 10000
fill tiny.txt MARKER-tiny- 300
fill 机密合同.docx MARKER-cn- 5000
fill tree/sub1/a.txt MARKER-ta- 6000
fill tree/sub1/deep/b.txt MARKER-tb- 200
fill tree/sub2/c.txt MARKER-tc- 12000
fill keep.txt MARKER-keep- 2000
# A folder that stays: ten files while its index still fits in the folder's
# own record, then more, so that the index moves out to a block of its own
# and the record keeps the ten names; then the ten are shredded.
docs=(report-2026-q3.xlsx salary-list.xls 病历记录-张三.pdf passport-scan.jpg bank-statement.pdf
  tax-return-25.pdf 合同草案第三版.docx meeting-notes.txt private-key.pem diary-2026.txt)
mkdir "$mnt/docs"
for i in "${!docs[@]}"; do fill "docs/${docs[i]}" "MARKER-d$i-" $((600 + 900 * i)); done
sync
for i in $(seq 12); do fill "docs/keep-doc-$i.txt" MARKER-keep- 1500; done
sync

"$root/scripts/wine-exec.sh" "$tool" "$(win "$mnt/big.bin")" "$(win "$mnt/secret-mid.txt")" \
  "$(win "$mnt/tiny.txt")" "$(win "$mnt/机密合同.docx")" "$(win "$mnt/tree")" \
  "${docs[@]/#/$(win "$mnt/docs")\\}" >"$work/shred.out" 2>/dev/null
rc=$?
tr -d '\r' <"$work/shred.out"
failed=0
[ "$rc" -eq 0 ] || fail "the engine left items behind (exit $rc)"
[ -e "$mnt/keep.txt" ] || fail "the unselected file is gone"
ls -A "$mnt"
[ "$(ls -A "$mnt/docs" | grep -cv '^keep-doc-')" -eq 0 ] && [ "$(ls -A "$mnt/docs" | wc -l)" -eq 12 ] ||
  fail "the folder that stays holds other than its twelve kept files: $(ls -A "$mnt/docs" | tr '\n' ' ')"
unmount || { echo "FAILED: the volume could not be unmounted"; exit 1; }

for m in big mid tiny cn ta tb tc d{0..9}; do
  in_image "MARKER-$m-" && fail "contents of a shredded file ($m) are in the raw image"
done
in_image MARKER-keep- || fail "the unselected file's contents are not in the image"

fls -r -d "$img" >"$work/deleted.txt" || fail "fls cannot read the volume"
echo "-- deleted entries (fls -r -d):"
cat "$work/deleted.txt"
for name in big.bin secret-mid.txt tiny.txt 机密合同.docx tree sub1 sub2 deep a.txt b.txt c.txt "${docs[@]}"; do
  grep -qP "\t(.*/)?\Q$name\E( |$)" "$work/deleted.txt" && fail "fls lists the original name $name"
done
# The scrubs' empty files are named by a number padded with zeros, which no
# neutral name of a shredded file (one digit repeated) is.
filler=$'\t''(.*/)?0+[1-9][0-9]*$'
# Every deleted file record: no data left, by size, and the neutral time. The
# creation time stays: Wine has no way to set it on a Unix file system.
while IFS= read -r line; do
  record=$(sed -n 's/^[^ ]*\/r \* *\([0-9]*\)-.*/\1/p' <<<"$line")
  [ -n "$record" ] || continue
  # The folder-index scrub's own empty files (250-digit names) were made
  # after the shred, and carry the time they were made.
  [[ $line =~ $filler ]] && continue
  istat "$img" "$record" >"$work/istat.txt" 2>/dev/null || continue
  if grep -q 'Type: \$DATA' "$work/istat.txt" &&
    ! grep 'Type: \$DATA' "$work/istat.txt" | grep -q 'size: 0\b'; then
    fail "record $record still gives a data size: $(grep 'Type: \$DATA' "$work/istat.txt")"
  fi
  grep -q 'File Modified:[[:space:]]*1980-01-01 00:00:00' "$work/istat.txt" ||
    fail "record $record keeps its last-write time"
done <"$work/deleted.txt"

# The folder that stays: its record and its index block keep none of them.
for name in "${docs[@]}"; do
  in_image "$name" utf-16 && fail "'$name', shredded from a folder that stays, is in the raw image"
done
# Names can outlive a rename in the slack of a folder's index block, which no
# program can reach without raw disk access: reported, not failed.
for name in big.bin secret-mid.txt tiny.txt 机密合同.docx tree sub1 a.txt; do
  in_image "$name" utf-16 && echo "note: '$name' is still in the raw image as UTF-16"
done
exit "$failed"
