#!/usr/bin/env bash
# The shred command through the real program against the engine alone, on
# identical trees in the same run: 3,000 files of 1-8 KiB plus a folder of
# 40 x 100 files of 4 KiB, all selected in the program's file list. The three
# runs alternate for several rounds and the medians and bests are compared, because the
# disk's flush time varies with everything else the machine does. The
# command's time (Yes to the completion box) holds its counting pass; the
# counting pass is also timed alone, on the engine's copy of the tree before
# the engine runs (so that it does not warm the command's copy). Then the
# time from a press of the stop button to the final box: with files in
# flight (a run of the same tree stopped after --stop-after files) and with a
# 1 GiB file under way (stopped at 20 %).
#   bench/shred_command.sh [--rounds N] [--files N] [--folders N --files-per-folder N]
#                          [--stop-after N] [--big-mib N]
# TOVO_SHRED_EXE=path/to/TovoShred.exe times another build of the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
files=3000 folders=40 per=100 rounds=3 stop_after=500 big_mib=1024
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --files) files=$2; shift 2 ;;
    --folders) folders=$2; shift 2 ;;
    --files-per-folder) per=$2; shift 2 ;;
    --stop-after) stop_after=$2; shift 2 ;;
    --big-mib) big_mib=$2; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done

"$root/scripts/dev-build.sh" shred win32 shred_bench shred_command_bench TovoShred >/dev/null
bin="$root/build/dev-shred-win32"
export TOVO_SHRED_EXE="${TOVO_SHRED_EXE:-$(printf 'Z:%s' "$bin/app/TovoShred.exe" | tr / '\\')}"
set +e  # the session script tolerates a wine server that already runs
. "$root/scripts/wine-session.sh"
set -e
# The program's list is reached from C:\, so the trees live there.
drive_c="$WINEPREFIX/drive_c"
tag="tovo-cmd-bench-$$"
trap 'rm -rf "$drive_c/$tag"-*; tovo_session_end' EXIT
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }
median() { python3 -c "import statistics, sys; print(f'{statistics.median(map(float, sys.argv[1:])):.3f}')" "$@"; }
best() { python3 -c "import sys; print(f'{min(map(float, sys.argv[1:])):.3f}')" "$@"; }

make_tree() {
  python3 - "$1" "$files" "$folders" "$per" <<'PY'
import os, random, sys
root, files, folders, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
rnd = random.Random(7)
os.makedirs(root, exist_ok=True)  # the command leaves the emptied folder
for f in range(files):
    with open(f"{root}/f{f:05}.bin", "wb") as out:
        out.write(os.urandom(rnd.randint(1024, 8192)))
for d in range(folders):
    os.makedirs(f"{root}/tree/d{d:03}")
    for f in range(per):
        with open(f"{root}/tree/d{d:03}/f{f:03}.bin", "wb") as out:
            out.write(os.urandom(4096))
PY
  sync
}
engine() {  # $1 folder, $2 workers
  "$root/scripts/wine-exec.sh" "$bin/bench/shred_bench.exe" tree "C:\\$(basename "$1")" "$2" |
    tr -d '\r' | sed -n 's/^seconds=//p'
}

entries=$(( files + (folders > 0 ? 1 : 0) ))
echo "== the command's own steps, per call (a file's share before: one of each)"
touch "$drive_c/$tag-probe"
"$root/scripts/wine-exec.sh" "$bin/bench/shred_command_bench.exe" steps "C:\\$tag-probe" |
  tr -d '\r' | sed 's/_us=/: /; s/$/ us/'
rm -f "$drive_c/$tag-probe"

echo "== $files files of 1-8 KiB + $folders x $per files of 4 KiB in one folder, $rounds rounds"
command=() pipe=() seq=() count=()
for _ in $(seq "$rounds"); do
  make_tree "$drive_c/$tag-cmd"
  command+=("$("$root/scripts/wine-exec.sh" "$bin/bench/shred_command_bench.exe" \
    "C:\\$tag-cmd" "$entries" | tr -d '\r' | sed -n 's/^seconds=//p')")
  make_tree "$drive_c/$tag-pipe"
  count+=("$("$root/scripts/wine-exec.sh" "$bin/bench/shred_command_bench.exe" count \
    "C:\\$tag-pipe" | tr -d '\r' | sed -n 's/^seconds=\([0-9.]*\).*/\1/p')")
  pipe+=("$(engine "$drive_c/$tag-pipe" 4)")
  make_tree "$drive_c/$tag-seq"
  seq+=("$(engine "$drive_c/$tag-seq" 0)")
done
command_s=$(median "${command[@]}") pipe_s=$(median "${pipe[@]}") seq_s=$(median "${seq[@]}")
count_s=$(median "${count[@]}")
printf '%-40s %8s s   (%s)\n' "shred command (Yes to completion box)" "$command_s" "${command[*]}" \
  "counting pass alone" "$count_s" "${count[*]}" \
  "engine, pipelined (4 workers)" "$pipe_s" "${pipe[*]}" "engine, sequential" "$seq_s" "${seq[*]}"
echo "command / engine pipelined:   $(ratio "$command_s" "$pipe_s") median, $(ratio "$(best "${command[@]}")" "$(best "${pipe[@]}")") best   (target <= 1.2)"
echo "command / engine sequential:  $(ratio "$command_s" "$seq_s") median, $(ratio "$(best "${command[@]}")" "$(best "${seq[@]}")") best"
echo "counting pass / command:      $(ratio "$count_s" "$command_s") median   (target <= 0.05)"

echo "== from a press of the stop button to the final box, $rounds rounds"
stop_files=() stop_big=() box_files="" box_big=""
for _ in $(seq "$rounds"); do
  make_tree "$drive_c/$tag-stop"
  out=$("$root/scripts/wine-exec.sh" "$bin/bench/shred_command_bench.exe" stop \
    "C:\\$tag-stop" "$entries" "$stop_after" | tr -d '\r')
  stop_files+=("$(sed -n 's/^stop_seconds=//p' <<<"$out")") box_files=$(sed -n 's/^box=//p' <<<"$out")
  rm -rf "$drive_c/$tag-stop"
  mkdir -p "$drive_c/$tag-big"
  head -c "$(( big_mib << 20 ))" /dev/urandom >"$drive_c/$tag-big/big.bin"
  sync
  out=$("$root/scripts/wine-exec.sh" "$bin/bench/shred_command_bench.exe" stop \
    "C:\\$tag-big" 1 20% | tr -d '\r')
  stop_big+=("$(sed -n 's/^stop_seconds=//p' <<<"$out")") box_big=$(sed -n 's/^box=//p' <<<"$out")
  rm -rf "$drive_c/$tag-big"
done
printf '%-40s %8s s   (%s)\n' "stop after $stop_after files (in flight)" \
  "$(median "${stop_files[@]}")" "${stop_files[*]}" \
  "stop with a $big_mib MiB file at 20 %" "$(median "${stop_big[@]}")" "${stop_big[*]}"
echo "last boxes: $box_files | $box_big"
