#!/usr/bin/env bash
# Runs one Windows program under the private prefix (CTest's emulator).
. "$(dirname "$0")/wine-env.sh"
exec wine "$@"
