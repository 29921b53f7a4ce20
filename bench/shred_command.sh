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
# The floor is what the disk needs at least for the same tree, natively and
# sequentially: open, one pass over each file, fsync, close, unlink, and
# rmdir for the folders the command removes.
#   bench/shred_command.sh [--rounds N] [--files N] [--folders N --files-per-folder N]
#                          [--stop-after N] [--big-mib N] [--no-engine] [--no-stop]
# TOVO_SHRED_EXE=path/to/TovoShred.exe times another build of the program;
# TOVO_BASELINE_EXE=path/to/TovoShred.exe also times a second build in the
# same rounds (both against the floor, and the stop too).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
files=3000 folders=40 per=100 rounds=3 stop_after=500 big_mib=1024 with_engine=1 with_stop=1
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --files) files=$2; shift 2 ;;
    --folders) folders=$2; shift 2 ;;
    --files-per-folder) per=$2; shift 2 ;;
    --stop-after) stop_after=$2; shift 2 ;;
    --big-mib) big_mib=$2; shift 2 ;;
    --no-engine) with_engine=0; shift ;;
    --no-stop) with_stop=0; shift ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done

"$root/scripts/dev-build.sh" shred win32 shred_bench shred_command_bench TovoShred >/dev/null
bin="$root/build/dev-shred-win32"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
export TOVO_SHRED_EXE="${TOVO_SHRED_EXE:-$(winpath "$bin/app/TovoShred.exe")}"
candidate_exe=$TOVO_SHRED_EXE baseline_exe=""
[ -n "${TOVO_BASELINE_EXE:-}" ] && baseline_exe=$(winpath "$(realpath "$TOVO_BASELINE_EXE")")
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
floor_tree() {  # the same tree's native floor; prints its seconds
  python3 - "$1" <<'PY'
import os, sys, time
root = sys.argv[1]
start = time.monotonic()
for folder, _, names in os.walk(root, topdown=False):
    for name in names:
        path = os.path.join(folder, name)
        size = os.path.getsize(path)
        fd = os.open(path, os.O_WRONLY)
        os.write(fd, bytes(size))
        os.fsync(fd)
        os.close(fd)
        os.unlink(path)
    if folder != root:
        os.rmdir(folder)
print(f"{time.monotonic() - start:.3f}")
PY
}
command_run() {  # $1 folder; the program is $TOVO_SHRED_EXE
  "$root/scripts/wine-exec.sh" "$bin/bench/shred_command_bench.exe" "C:\\$(basename "$1")" \
    "$entries" | tr -d '\r' | sed -n 's/^seconds=//p'
}
engine() {  # $1 folder, $2 workers
  "$root/scripts/wine-exec.sh" "$bin/bench/shred_bench.exe" tree "C:\\$(basename "$1")" "$2" |
    tr -d '\r' | sed -n 's/^seconds=//p'
}

entries=$(( files + (folders > 0 ? 1 : 0) ))
echo "== per call: a synchronous paint of the name-line window (the run's window paints on its own timer now), a look at the queue, an attribute read"
touch "$drive_c/$tag-probe"
"$root/scripts/wine-exec.sh" "$bin/bench/shred_command_bench.exe" steps "C:\\$tag-probe" |
  tr -d '\r' | sed 's/_us=/: /; s/$/ us/'
rm -f "$drive_c/$tag-probe"

echo "== $files files of 1-8 KiB + $folders x $per files of 4 KiB in one folder, $rounds rounds"
command=() base=() floor=() pipe=() seq=() count=()
for _ in $(seq "$rounds"); do
  make_tree "$drive_c/$tag-cmd"
  command+=("$(TOVO_SHRED_EXE=$candidate_exe command_run "$drive_c/$tag-cmd")")
  if [ -n "$baseline_exe" ]; then
    make_tree "$drive_c/$tag-base"
    base+=("$(TOVO_SHRED_EXE=$baseline_exe command_run "$drive_c/$tag-base")")
  fi
  make_tree "$drive_c/$tag-floor"
  floor+=("$(floor_tree "$drive_c/$tag-floor")")
  rm -rf "$drive_c/$tag-floor"
  [ "$with_engine" = 1 ] || continue
  make_tree "$drive_c/$tag-pipe"
  count+=("$("$root/scripts/wine-exec.sh" "$bin/bench/shred_command_bench.exe" count \
    "C:\\$tag-pipe" | tr -d '\r' | sed -n 's/^seconds=\([0-9.]*\).*/\1/p')")
  pipe+=("$(engine "$drive_c/$tag-pipe" 4)")
  make_tree "$drive_c/$tag-seq"
  seq+=("$(engine "$drive_c/$tag-seq" 0)")
done
command_s=$(median "${command[@]}") floor_s=$(median "${floor[@]}")
printf '%-40s %8s s   (%s)\n' "shred command (Yes to completion box)" "$command_s" "${command[*]}"
[ -n "$baseline_exe" ] &&
  printf '%-40s %8s s   (%s)\n' "baseline build's shred command" "$(median "${base[@]}")" "${base[*]}"
printf '%-40s %8s s   (%s)\n' "native floor (open, pass, fsync, unlink)" "$floor_s" "${floor[*]}"
echo "command / floor:              $(ratio "$command_s" "$floor_s") median, $(ratio "$(best "${command[@]}")" "$(best "${floor[@]}")") best   (target <= 2)"
[ -n "$baseline_exe" ] &&
  echo "baseline / floor:             $(ratio "$(median "${base[@]}")" "$floor_s") median, $(ratio "$(best "${base[@]}")" "$(best "${floor[@]}")") best"
if [ "$with_engine" = 1 ]; then
  pipe_s=$(median "${pipe[@]}") seq_s=$(median "${seq[@]}") count_s=$(median "${count[@]}")
  printf '%-40s %8s s   (%s)\n' "counting pass alone" "$count_s" "${count[*]}" \
    "engine, pipelined (4 workers)" "$pipe_s" "${pipe[*]}" "engine, sequential" "$seq_s" "${seq[*]}"
  echo "command / engine pipelined:   $(ratio "$command_s" "$pipe_s") median, $(ratio "$(best "${command[@]}")" "$(best "${pipe[@]}")") best   (target <= 1.2)"
  echo "command / engine sequential:  $(ratio "$command_s" "$seq_s") median, $(ratio "$(best "${command[@]}")" "$(best "${seq[@]}")") best"
  echo "counting pass / command:      $(ratio "$count_s" "$command_s") median   (target <= 0.05)"
fi
[ "$with_stop" = 1 ] || exit 0

echo "== from a press of the stop button to the final box, $rounds rounds"
stop_run() {  # $1 program, $2 folder, $3 entries, $4 when; sets $out
  out=$(TOVO_SHRED_EXE=$1 "$root/scripts/wine-exec.sh" "$bin/bench/shred_command_bench.exe" stop \
    "C:\\$(basename "$2")" "$3" "$4" | tr -d '\r')
}
stop_files=() stop_big=() base_files=() base_big=() follow=() base_follow=() box_files="" box_big=""
for _ in $(seq "$rounds"); do
  for exe in "$candidate_exe" $baseline_exe; do
    make_tree "$drive_c/$tag-stop"
    stop_run "$exe" "$drive_c/$tag-stop" "$entries" "$stop_after"
    seconds=$(sed -n 's/^stop_seconds=//p' <<<"$out") box_files=$(sed -n 's/^box=//p' <<<"$out")
    followed=$(sed -n 's/^list_followed_seconds=//p' <<<"$out")
    if [ "$exe" = "$candidate_exe" ]; then
      stop_files+=("$seconds") follow+=("$followed")
    else
      base_files+=("$seconds") base_follow+=("$followed")
    fi
    rm -rf "$drive_c/$tag-stop"
    mkdir -p "$drive_c/$tag-big"
    head -c "$(( big_mib << 20 ))" /dev/urandom >"$drive_c/$tag-big/big.bin"
    sync
    stop_run "$exe" "$drive_c/$tag-big" 1 20%
    seconds=$(sed -n 's/^stop_seconds=//p' <<<"$out") box_big=$(sed -n 's/^box=//p' <<<"$out")
    if [ "$exe" = "$candidate_exe" ]; then stop_big+=("$seconds"); else base_big+=("$seconds"); fi
    rm -rf "$drive_c/$tag-big"
  done
done
printf '%-40s %8s s   (%s)\n' "stop after $stop_after files (in flight)" \
  "$(median "${stop_files[@]}")" "${stop_files[*]}" \
  "stop with a $big_mib MiB file at 20 %" "$(median "${stop_big[@]}")" "${stop_big[*]}" \
  "  stop to the list showing what is left" "$(median "${follow[@]}")" "${follow[*]}"
[ -n "$baseline_exe" ] && printf '%-40s %8s s   (%s)\n' \
  "baseline build, stop after $stop_after files" "$(median "${base_files[@]}")" "${base_files[*]}" \
  "  stop to the list showing what is left" "$(median "${base_follow[@]}")" "${base_follow[*]}" \
  "baseline build, stop in the big file" "$(median "${base_big[@]}")" "${base_big[*]}"
echo "last boxes: $box_files | $box_big   (target <= 0.5 s)"
