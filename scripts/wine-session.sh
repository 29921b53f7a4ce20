# Sourced: makes sure the prefix exists, a display is there (a private Xvfb
# when none is) and the wine server runs, so that piped output never hangs
# on the services the first Wine process starts.
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
"$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
tovo_xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    tovo_xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi
wineserver -p30 2>/dev/null || true  # already running is fine
wine cmd /c exit >/dev/null 2>&1 || true
tovo_session_end() { [ -n "$tovo_xvfb_pid" ] && kill "$tovo_xvfb_pid" 2>/dev/null; true; }
