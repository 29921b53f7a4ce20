#!/usr/bin/env bash
# Runs the tree expansion benchmark under Wine:
#   bench/tree_expand.sh [build folder, default build/win32]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/win32}
. "$root/scripts/wine-session.sh"
trap tovo_session_end EXIT
wine "$dir/bench/tree_expand_bench.exe"
