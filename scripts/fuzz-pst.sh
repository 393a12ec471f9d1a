#!/usr/bin/env bash
# Fuzzes PST opening and a full walk with libFuzzer (clang, address and undefined-behaviour
# sanitizers) for a bounded time, seeded with the fixture files. Not part of the default test run.
# Usage: scripts/fuzz-pst.sh [seconds, default 60] [jobs, default 1]
# Findings go to build-fuzz/findings/; replay one with build-native/bin/pst_fuzz FILE.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="${BRINDLE_FUZZ_BUILD_DIR:-$src/build-fuzz}"
seconds="${1:-60}"
jobs="${2:-1}"
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g -O1"
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRINDLE_FUZZ=ON -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags"
fi
cmake --build "$build" --target pst_fuzz
corpus="$build/corpus"
mkdir -p "$corpus" "$build/findings"
fixtures="${BRINDLE_TESTDATA_UNIX:-$src/tests/data}/pst"
# Small seeds keep each run fast; the 271 KB fixtures still hold every kind of tree and table.
for f in "$fixtures"/*.pst "$fixtures"/*.ost; do
  [ -f "$f" ] && [ "$(stat -c %s "$f")" -le 300000 ] && cp -n "$f" "$corpus/" 2>/dev/null || true
done
cd "$build/findings"
rm -f fuzz-*.log
status=0
"$build/bin/pst_fuzz" -max_total_time="$seconds" -jobs="$jobs" -workers="$jobs" -max_len=300000 \
  -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 "$corpus" || status=$?
# With -jobs the findings are in the workers' logs and crash-* files.
if ls crash-* leak-* timeout-* oom-* >/dev/null 2>&1 || grep -qs "SUMMARY:" fuzz-*.log; then
  echo "fuzz-pst: findings in $build/findings"
  grep -hs "SUMMARY:" fuzz-*.log | sort | uniq -c
  exit 1
fi
grep -hs "stat::number_of_executed_units" fuzz-*.log | awk '{n += $2} END {print "fuzz-pst: " n " inputs, no findings"}'
exit $status
