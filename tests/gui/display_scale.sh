#!/usr/bin/env bash
# The windows laid out at 120, 144 and 192 DPI (96 is the ordinary run): for
# each, the prefix's LogPixels is set and the wine server started afresh,
# then the scaling tests of both test programs run. 96 is restored at the end.
#   display_scale.sh WIN_TESTS_EXE GUI_TESTS_EXE
set -uo pipefail
win_tests=$1
gui_tests=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-session.sh"
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  # Only a fresh wine server reads the DPI.
  # Its output goes nowhere, so that CTest does not wait for the server.
  wineserver -k 2>/dev/null; wineserver -w; wineserver -p30 >/dev/null 2>&1
  wine cmd /c exit >/dev/null 2>&1
}
# At 200 % the main window is larger than the session's screen, which Wine
# would shrink it to: these runs get a screen of their own.
outer_display=${DISPLAY:-}
big_xvfb=""
for n in $(seq 160 200); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
  big_xvfb=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
  break
done
restore() {
  export DISPLAY=$outer_display
  set_dpi 96
  [ -n "$big_xvfb" ] && kill "$big_xvfb" 2>/dev/null
  tovo_session_end
}
trap restore EXIT

failed=0
for dpi in 120 144 192; do
  echo "== $dpi DPI"
  set_dpi "$dpi"
  wine "$win_tests" --gtest_filter='DisplayScale.*' || failed=1
  wine "$gui_tests" --gtest_filter='DisplayScale.*' || failed=1
done
exit "$failed"
