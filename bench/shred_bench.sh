#!/usr/bin/env bash
# Shredding benchmarks: the engine under Wine against dd, GNU shred and the
# write + fsync + unlink floor, on the same disk in the same run.
#   bench/shred_bench.sh [--file-mib N] [--folders N --files-per-folder N]
#                        [--workers "1 2 4 8"] [--many] [--rounds N]
# The disk's flush time varies with the rest of the machine's work, so the two
# engines alternate for N rounds (default 3) and their medians are compared.
# --file-mib 1 makes the single-file part quick when only the trees matter.
# --many adds 100,000 files of 1 KiB in 1,000 folders: time and peak memory,
# against 10,000 such files in 100 folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mib=1024 folders=100 per=100 sweep="1 2 4 8" many=0 rounds=3
while [ $# -gt 0 ]; do
  case "$1" in
    --file-mib) mib=$2; shift 2 ;;
    --folders) folders=$2; shift 2 ;;
    --files-per-folder) per=$2; shift 2 ;;
    --workers) sweep=$2; shift 2 ;;
    --many) many=1; shift ;;
    --rounds) rounds=$2; shift 2 ;;
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
median() { python3 -c "import statistics, sys; print(f'{statistics.median(map(float, sys.argv[1:])):.3f}')" "$@"; }
best() { python3 -c "import sys; print(f'{min(map(float, sys.argv[1:])):.3f}')" "$@"; }

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

make_tree() {  # $1 root [$2 folders $3 files per folder $4 bytes]
  python3 - "$1" "${2:-$folders}" "${3:-$per}" "${4:-4096}" <<'PY'
import os, sys
root, folders, per, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
block = os.urandom(size)
for d in range(folders):
    os.makedirs(f"{root}/d{d:04}")
    for f in range(per):
        with open(f"{root}/d{d:04}/f{f:03}.bin", "wb") as out:
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

tree() {  # $1 root, $2 workers [$3 plain]; prints the engine's seconds and peak KiB
  "$root/scripts/wine-exec.sh" "$exe" tree "$(win "$1")" "${@:2}" | tr -d "\r" |
    sed -n 's/^seconds=//p; s/^peak_kib=//p' | paste -sd ' '
}

echo "== a tree of $folders folders x $per files of 4 KiB ($rounds rounds of each engine)"
# "plain": without hiding sizes, times and names, as the engine was before.
seq_all=() pipe_all=() seq_plain_all=() pipe_plain_all=()
for _ in $(seq "$rounds"); do
  make_tree "$work/t1"; read -r s _ < <(tree "$work/t1" 0 plain); seq_plain_all+=("$s")
  make_tree "$work/t1"; read -r s _ < <(tree "$work/t1" 0); seq_all+=("$s")
  make_tree "$work/t1"; read -r s _ < <(tree "$work/t1" 4 plain); pipe_plain_all+=("$s")
  make_tree "$work/t1"; read -r s _ < <(tree "$work/t1" 4); pipe_all+=("$s")
done
seq_s=$(median "${seq_all[@]}") pipe_s=$(median "${pipe_all[@]}")
seq_plain_s=$(median "${seq_plain_all[@]}") pipe_plain_s=$(median "${pipe_plain_all[@]}")
make_tree "$work/t2"
gnu_s=$(timed gnu_tree "$work/t2")
make_tree "$work/t3"
floor_s=$(timed floor_tree "$work/t3")
printf '%-34s %8s s   (%s)\n' "sequential, plain" "$seq_plain_s" "${seq_plain_all[*]}" \
  "sequential" "$seq_s" "${seq_all[*]}" "pipelined (4 workers), plain" "$pipe_plain_s" \
  "${pipe_plain_all[*]}" "pipelined (4 workers)" "$pipe_s" "${pipe_all[*]}"
printf '%-34s %8s s\n' "GNU shred -n1 -u" "$gnu_s" "write+fsync+unlink floor" "$floor_s"
pair() {  # $1 label, $2 $3 medians, $4 $5 names of the arrays of rounds
  local -n a=$4 b=$5
  printf '%-40s %s median, %s best   %s\n' "$1" "$(ratio "$2" "$3")" \
    "$(ratio "$(best "${a[@]}")" "$(best "${b[@]}")")" "${6:-}"
}
pair "pipelined / sequential:" "$pipe_s" "$seq_s" pipe_all seq_all "(target <= 0.75)"
pair "pipelined / sequential, both plain:" "$pipe_plain_s" "$seq_plain_s" pipe_plain_all \
  seq_plain_all
pair "pipelined / sequential plain:" "$pipe_s" "$seq_plain_s" pipe_all seq_plain_all \
  "(target <= 1.0)"
pair "sequential / sequential plain:" "$seq_s" "$seq_plain_s" seq_all seq_plain_all \
  "(the cost of hiding size, times, name)"
echo "pipelined / GNU shred:                   $(ratio "$pipe_s" "$gnu_s")   (target < 1)"
echo "pipelined / floor:                       $(ratio "$pipe_s" "$floor_s")"
for n in $sweep; do
  make_tree "$work/t1"
  read -r s _ < <(tree "$work/t1" "$n")
  printf 'workers=%-3s %8s s   %s x sequential\n' "$n" "$s" "$(ratio "$s" "$seq_s")"
done

echo "== where the time goes: seconds in each call, summed over the threads"
for n in 0 4; do
  make_tree "$work/t1"
  printf 'workers=%s: ' "$n"
  "$root/scripts/wine-exec.sh" "$exe" steps "$(win "$work/t1")" "$n" | tr -d "\r" |
    sed -n 's/^step_\(.*\)_ms=\(.*\)/\1 \2/p; s/^seconds=\(.*\)/wall \1/p' |
    awk '/^wall/ {w=$2; next} {printf "%s %.2f  ", $1, $2/1000} END {print "| wall " w}'
done

if [ "$many" = 1 ]; then
  echo "== files of 1 KiB: 10,000 in 100 folders, then 100,000 in 1,000 folders (4 workers)"
  make_tree "$work/m" 100 100 1024
  read -r small_s small_kib < <(tree "$work/m" 4)
  make_tree "$work/m" 1000 100 1024
  read -r big_s big_kib < <(tree "$work/m" 4)
  printf '%-18s %8s s  peak %8s KiB\n' "10,000 files" "$small_s" "$small_kib" \
    "100,000 files" "$big_s" "$big_kib"
  echo "time 100,000 / 10,000:        $(ratio "$big_s" "$small_s")   (10 is linear)"
  echo "extra peak per added file:    $(python3 -c "print(f'{($big_kib - $small_kib) * 1024 / 90000:.0f}')") bytes (the path list)"
fi
