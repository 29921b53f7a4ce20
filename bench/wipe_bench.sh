#!/usr/bin/env bash
# The free-space wipe of an NTFS volume image (ntfs-3g, under Wine) against
# dd writing the same amount to the same volume in the same run.
#   bench/wipe_bench.sh [--mib N] [--rounds N]
# Prints, per round and as medians: the wipe's bytes per second over its
# whole run, dd's (1 MiB requests, fsync at the end), their ratio, the time
# of the record fill and the time to release the fill.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mib=512 rounds=3
while [ $# -gt 0 ]; do
  case "$1" in
    --mib) mib=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done

cmake --build "$root/build/win32" --target wipe_free_space >/dev/null
exe="$root/build/win32/tests/wipe_free_space.exe"
set +e  # the session script tolerates a wine server that already runs
. "$root/scripts/wine-session.sh"
set -e
. "$root/tests/win/support/ntfs_volume.sh"
ntfs_volume "$mib" tovo-wipe-bench
trap 'unmount; rm -rf "$work"; tovo_session_end' EXIT
now() { date +%s.%N; }
median() { python3 -c "import statistics, sys; print(f'{statistics.median(map(float, sys.argv[1:])):.3f}')" "$@"; }

wipes=() dds=() ratios=() records=() releases=()
for round in $(seq "$rounds"); do
  start=$(now)
  wine "$exe" "$(win "$mnt")" >"$work/wipe.out" 2>/dev/null
  end=$(now)
  read -r _ written _ _ _ _ _ record _ release _ < <(tr -d '\r' <"$work/wipe.out")
  wipe=$(python3 -c "print($written / ($end - $start))")
  # dd writes what the wipe wrote, in whole MiB, and makes it durable.
  start=$(now)
  dd if=/dev/zero of="$mnt/dd.bin" bs=1M count=$((written >> 20)) conv=fsync status=none
  end=$(now)
  rm "$mnt/dd.bin"
  dd_rate=$(python3 -c "print(($written >> 20 << 20) / ($end - $start))")
  ratio=$(python3 -c "print(f'{$wipe / $dd_rate:.2f}')")
  printf 'round %d: wipe %.1f MB/s (%d bytes), dd %.1f MB/s, ratio %s, record fill %s s, release %s s\n' \
    "$round" "$(python3 -c "print($wipe / 1e6)")" "$written" "$(python3 -c "print($dd_rate / 1e6)")" \
    "$ratio" "$record" "$release"
  wipes+=("$wipe") dds+=("$dd_rate") ratios+=("$ratio") records+=("$record") releases+=("$release")
done
echo "median: wipe $(median "${wipes[@]}") B/s, dd $(median "${dds[@]}") B/s," \
  "ratio $(median "${ratios[@]}"), record fill $(median "${records[@]}") s," \
  "release $(median "${releases[@]}") s"
