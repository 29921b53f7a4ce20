#!/usr/bin/env bash
# File list benchmark: Reload of a folder of 20,000 files against a bare
# FindFirstFileW/FindNextFileW walk of it, under Wine in the private prefix.
#   bench/file_list_reload.sh [FILES] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/dev-build.sh" fl win32 file_list_reload_bench >/dev/null
set +e  # the session script tolerates a wine server that already runs
. "$root/scripts/wine-session.sh"
set -e
trap tovo_session_end EXIT
out=$(mktemp)
wine "$root/build/dev-fl-win32/bench/file_list_reload_bench.exe" "$@" >"$out" 2>/dev/null
cat "$out"
rm -f "$out"
