#!/usr/bin/env bash
# Installs what is missing, builds TovoShred.exe and starts it under Wine in
# the private prefix. Without a display it uses a virtual one, waits for the
# main window, saves a screenshot (the path is printed) and closes the program.
#
# TOVO_ANNOUNCE_DEMO=1 ./run.sh builds a copy whose announcement service is a
# loopback stand-in (tests/core/support/announce_server.py on 127.0.0.1:8765)
# and starts that too, so the strip at the bottom rotates real lines.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

./scripts/install-deps.sh
./scripts/build-curl-win32.sh
build=build/win32
if [ "${TOVO_ANNOUNCE_DEMO:-0}" = 1 ]; then
  build=build/win32-demo
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTOVO_SITE_HOST=127.0.0.1:8765 \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
  mkdir -p build/announce-demo
  python3 tests/core/support/announce_server.py build/announce-demo 8765 600 &
  server=$!
else
  cmake --preset win32 >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target TovoShred

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
. scripts/wine-session.sh
trap 'tovo_session_end; [ -n "${server:-}" ] && kill "$server" 2>/dev/null; true' EXIT

exe="$root/$build/app/TovoShred.exe"
# The program lists its current folder first: start it in the prefix's C:\.
cd "$WINEPREFIX/drive_c"
if [ "$headless" = 0 ]; then
  wine "$exe"
  exit $?
fi

wine "$exe" >/dev/null 2>&1 &
pid=$!
found=0
for _ in $(seq 100); do
  if xwininfo -root -tree 2>/dev/null | grep -q 'Tovo文件粉碎'; then found=1; break; fi
  sleep 0.2
done
sleep 1.5  # let the window paint (and the announcement fetch give up or answer)
# With the stand-in service the first line rotates in 4 s after it arrived.
[ -n "${server:-}" ] && sleep 9
shot="$root/build/screenshot.png"
import -window root "$shot"
if [ "$found" = 1 ]; then echo "main window shown; screenshot: $shot"; else echo "main window not found; screenshot: $shot" >&2; fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
[ "$found" = 1 ]
