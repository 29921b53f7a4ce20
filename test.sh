#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test:
# the portable core natively (with sanitizers) first, the threaded engine under
# ThreadSanitizer, then the Windows tests under Wine. Exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

step() { printf '\n== %s ==\n' "$*"; }
fail() { echo "test.sh: $*" >&2; exit 1; }

step "Set-up"
./scripts/install-deps.sh || fail "installing the packages failed"
./scripts/build-curl-win32.sh || fail "building libcurl for Windows failed"

step "Native build"
cmake --preset native >/dev/null || fail "configuring the native build failed"
cmake --build build/native -j"$jobs" || fail "the native build failed"

step "Native tests"
ctest --test-dir build/native --output-on-failure -j"$jobs" 2>&1 | tee build/native-tests.log
native=${PIPESTATUS[0]}

step "Threaded engine under ThreadSanitizer"
cmake --preset native-tsan >/dev/null || fail "configuring the ThreadSanitizer build failed"
cmake --build build/native-tsan -j"$jobs" --target tovo_tsan_tests ||
  fail "the ThreadSanitizer build failed"
ctest --test-dir build/native-tsan --output-on-failure -L tsan -j"$jobs" 2>&1 |
  tee build/tsan-tests.log
tsan=${PIPESTATUS[0]}

step "Windows build"
cmake --preset win32 >/dev/null || fail "configuring the Windows build failed"
cmake --build build/win32 -j"$jobs" || fail "the Windows build failed"

step "Windows tests under Wine"
# One at a time: window tests move the one mouse pointer and take the focus.
./scripts/wine-ctest.sh 2>&1 | tee build/wine-tests.log
wine=${PIPESTATUS[0]}

count() { sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -n 1; }
read -r nf nt < <(count build/native-tests.log) || true
read -r tf tt < <(count build/tsan-tests.log) || true
read -r wf wt < <(count build/wine-tests.log) || true
skipped() { grep -c '^[[:space:]]*[0-9]* - .*(Skipped)$' "$1" || true; }
failed=$(( ${nf:-0} + ${tf:-0} + ${wf:-0} ))
total=$(( ${nt:-0} + ${tt:-0} + ${wt:-0} ))
skips=$(( $(skipped build/native-tests.log) + $(skipped build/tsan-tests.log) +
  $(skipped build/wine-tests.log) ))
step "Summary"
echo "native: ${nt:-0} tests, ${nf:-0} failed; ThreadSanitizer: ${tt:-0} tests, ${tf:-0} failed;" \
  "Wine: ${wt:-0} tests, ${wf:-0} failed"
echo "$(( total - failed - skips )) passed, $failed failed, $skips skipped"
[ "$native" -eq 0 ] && [ "$tsan" -eq 0 ] && [ "$wine" -eq 0 ] && [ "$total" -gt 0 ]
