#!/usr/bin/env bash
# Runs the Windows tests of a build folder under Wine:
#   scripts/wine-ctest.sh [-B build/win32] [ctest arguments...]
set -uo pipefail
dir="$(cd "$(dirname "$0")/.." && pwd)/build/win32"
if [ "${1:-}" = "-B" ]; then dir=$(cd "$2" && pwd); shift 2; fi
. "$(dirname "$0")/wine-session.sh"
trap tovo_session_end EXIT
ctest --test-dir "$dir" --output-on-failure "$@"
