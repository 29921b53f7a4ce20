#!/usr/bin/env bash
# Shredding benchmarks: the engine under Wine against dd, GNU shred and the
# write + fsync + unlink floor, on the same disk in the same run.
#   bench/shred_bench.sh [--file-mib N] [--folders N --files-per-folder N]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mib=1024 folders=100 per=100
while [ $# -gt 0 ]; do
  case "$1" in
    --file-mib) mib=$2; shift 2 ;;
    --folders) folders=$2; shift 2 ;;
    --files-per-folder) per=$2; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done

"$root/scripts/dev-build.sh" shred win32 shred_bench >/dev/null
exe="$root/build/dev-shred-win32/bench/shred_bench.exe"
set +e  # the session script tolerates a wine server that already runs
. "$root/scripts/wine-session.sh"
set -e
work=$(mktemp -d /tmp/tovo-shred-bench.XXXXXX)
trap 'rm -rf "$work"; tovo_session_end' EXIT
win() { printf 'Z:%s' "$1" | tr / '\\'; }
now() { date +%s.%N; }
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }

make_file() { dd if=/dev/zero of="$1" bs=1M count="$mib" status=none; sync; }
engine() {  # $1 file|overwrite, $2 request size, [$3 plain]
  make_file "$work/f"
  "$root/scripts/wine-exec.sh" "$exe" "$1" "$(win "$work/f")" "${@:2}" | tr -d '\r' |
    sed -n 's/^seconds=//p'
  rm -f "$work/f"
}
timed() { local t0; t0=$(now); "$@"; python3 -c "print(f'{$(now) - $t0:.3f}')"; }
dd_over() { dd if=/dev/zero of="$1" bs=1M count="$mib" conv=notrunc,fsync status=none; }
dd_rm() { dd_over "$1" && rm -f "$1"; }

echo "== one file of $mib MiB"
shred_big=$(engine file 1048576)
shred_small=$(engine file 4096)
shred_plain=$(engine file 1048576 plain)
over_big=$(engine overwrite 1048576)
over_small=$(engine overwrite 4096)
make_file "$work/d"
dd_s=$(timed dd_over "$work/d")
dd_rm_s=$(timed dd_rm "$work/d")
make_file "$work/s"
gnu_s=$(timed shred -n1 -u "$work/s")
printf '%-36s %8s s\n' \
  "ShredFile, 1 MiB requests" "$shred_big" "ShredFile, 4 KiB requests" "$shred_small" \
  "  1 MiB, without size/time/name" "$shred_plain" \
  "overwrite only, 1 MiB requests" "$over_big" "overwrite only, 4 KiB requests" "$over_small" \
  "dd bs=1M conv=notrunc,fsync" "$dd_s" "dd as above, then rm" "$dd_rm_s" \
  "GNU shred -n1 -u" "$gnu_s"
echo "overwrite only (1 MiB) / dd:          $(ratio "$over_big" "$dd_s")   (target <= 1.1)"
echo "ShredFile (1 MiB) / dd then rm:       $(ratio "$shred_big" "$dd_rm_s")   (target <= 1.1)"
echo "ShredFile (1 MiB) / GNU shred:        $(ratio "$shred_big" "$gnu_s")   (target < 1)"
echo "4 KiB requests / 1 MiB requests:      $(ratio "$shred_small" "$shred_big")"
echo "with / without size/time/name:        $(ratio "$shred_big" "$shred_plain")"

make_tree() {
  python3 - "$1" "$folders" "$per" <<'PY'
import os, sys
root, folders, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
block = os.urandom(4096)
for d in range(folders):
    os.makedirs(f"{root}/d{d:03}")
    for f in range(per):
        with open(f"{root}/d{d:03}/f{f:03}.bin", "wb") as out:
            out.write(block)
PY
  sync
}
floor_tree() {
  python3 - "$1" <<'PY'
import os, sys
root = sys.argv[1]
block = b"\0" * 4096
for d in sorted(os.listdir(root)):
    for f in sorted(os.listdir(f"{root}/{d}")):
        p = f"{root}/{d}/{f}"
        fd = os.open(p, os.O_WRONLY)
        os.write(fd, block)
        os.fsync(fd)
        os.close(fd)
        os.unlink(p)
    os.rmdir(f"{root}/{d}")
os.rmdir(root)
PY
}
gnu_tree() { shred -n1 -u "$1"/*/*; rmdir "$1"/* "$1"; }

echo "== a tree of $folders folders x $per files of 4 KiB"
make_tree "$work/t1"
tree() { "$root/scripts/wine-exec.sh" "$exe" tree "$(win "$1")" "${@:2}" | tr -d "\r" | sed -n "s/^seconds=//p"; }
tree_s=$(tree "$work/t1")
make_tree "$work/t4"
plain_s=$(tree "$work/t4" plain)
make_tree "$work/t2"
gnu_s=$(timed gnu_tree "$work/t2")
make_tree "$work/t3"
floor_s=$(timed floor_tree "$work/t3")
printf '%-28s %8s s\n' "ShredFolderTree" "$tree_s" "  without size/time/name" "$plain_s" \
  "GNU shred -n1 -u" "$gnu_s" \
  "write+fsync+unlink floor" "$floor_s"
echo "ShredFolderTree / GNU shred:  $(ratio "$tree_s" "$gnu_s")   (target < 1)"
echo "ShredFolderTree / floor:      $(ratio "$tree_s" "$floor_s")   (target <= 1.5)"
echo "with / without size/time/name: $(ratio "$tree_s" "$plain_s")"
