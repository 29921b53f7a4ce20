#!/usr/bin/env bash
# Builds and runs the tree expansion benchmark under Wine:
#   bench/tree_expand.sh [build folder, default build/dev-bench-win32]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -gt 0 ]; then
  dir=$1
else
  "$root/scripts/dev-build.sh" bench win32 tree_expand_bench >/dev/null || exit 1
  dir=$root/build/dev-bench-win32
fi
. "$root/scripts/wine-session.sh"
trap tovo_session_end EXIT
wine "$dir/bench/tree_expand_bench.exe"
