#!/usr/bin/env bash
# A developer's own build folder, so that several people can build at once:
#   scripts/dev-build.sh NAME native|win32 [target...]
# builds in build/dev-NAME-native or build/dev-NAME-win32.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
name=$1 kind=$2; shift 2
dir="$root/build/dev-$name-$kind"
case "$kind" in
  native) cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DTOVO_SANITIZE=ON >/dev/null ;;
  win32)
    "$root/scripts/build-curl-win32.sh"
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
      -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-exec.sh" >/dev/null ;;
  *) echo "usage: $0 NAME native|win32 [target...]" >&2; exit 2 ;;
esac
args=()
for t in "$@"; do args+=(--target "$t"); done
cmake --build "$dir" -j2 "${args[@]}"
echo "built in $dir"
