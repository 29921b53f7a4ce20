#!/usr/bin/env bash
# Fuzzes the announcement reply decoding and parsing with libFuzzer and the
# address and undefined-behaviour sanitizers, for a bounded time:
#   scripts/fuzz-announce.sh [seconds]   (default 120)
# Needs clang with libFuzzer (Debian's clang package brings it). Not part of
# ./test.sh. Prints the executions and any crash file it left.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-120}
out="$root/build/fuzz-announce"
mkdir -p "$out/corpus" "$out/crashes"
command -v clang++ >/dev/null || { apt-get update -qq && apt-get install -y -qq clang >/dev/null; }
cp -n "$root/tests/fuzz/corpus/"* "$out/corpus/" 2>/dev/null || true
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" "$root/tests/fuzz/announce_reply_fuzz.cpp" "$root/announce/reply_decode.cpp" \
  "$root/announce/reply_parser.cpp" "$root/platform/text.cpp" -o "$out/announce_reply_fuzz"
cd "$out"
set +e
./announce_reply_fuzz -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -artifact_prefix="$out/crashes/" -print_final_stats=1 corpus 2>"$out/fuzz.log"
status=$?
set -e
grep -E "^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added|stat::peak_rss_mb)" \
  "$out/fuzz.log" || tail -n 20 "$out/fuzz.log"
ls "$out/crashes" | sed 's/^/finding: /'
exit $status
