#!/usr/bin/env bash
# Reader throughput: walks every message of each file (subject, bodies, attachment sizes) with
# `pstdump walk`, natively and under Wine, beside `pffexport` (libpff) exporting the same file in the
# same run. Prints messages/s, MB/s and the ratio to pffexport.
# Usage: bench/pst/run-bench.sh [FILE...]   (default: the largest fixture)
# Needs build-native/ and, for the Wine column, build/ with a Wine prefix (scripts/wine-env.sh).
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
native="${BRINDLE_NATIVE_BUILD_DIR:-$src/build-native}"
windows="${BRINDLE_BUILD_DIR:-$src/build}"
fixtures="${BRINDLE_TESTDATA:-$src/../shared/testdata}/pst"
repeat="${BENCH_REPEAT:-20}"
files=("$@")
[ ${#files[@]} -gt 0 ] || files=("$fixtures/ost-exchange-sample.ost")

now() { date +%s.%N; }
seconds_of() {  # command... -> elapsed seconds on stdout, command output discarded
  local start end
  start=$(now)
  "$@" >/dev/null 2>&1
  end=$(now)
  echo "$end - $start" | bc -l
}

have_wine=0
if [ -x "$windows/bin/pstdump.exe" ] && [ -x "$windows/wine-run" ]; then
  have_wine=1
  export BRINDLE_BUILD_DIR="$windows"
  # shellcheck source=/dev/null
  source "$src/scripts/wine-env.sh"
fi
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

printf '%-28s %8s %6s | %-22s | %-22s | %-22s | %s\n' file MB msgs "pstdump native" "pstdump wine" "pffexport" "ratio native/wine"
for file in "${files[@]}"; do
  mb=$(echo "$(stat -c %s "$file") / 1048576" | bc -l)
  msgs=$("$native/bin/pstdump" walk "$file" | awk '/^messages/{print $2}')
  t_native=$(echo "$(seconds_of "$native/bin/pstdump" walk "$file" "$repeat") / $repeat" | bc -l)
  t_wine=""
  if [ $have_wine = 1 ]; then
    winfile=$(brindle_windows_path "$file")
    # One process for all repeats, so Wine's start-up is paid once; subtract a 1-walk run.
    t_many=$(seconds_of "$windows/wine-run" "$windows/bin/pstdump.exe" walk "$winfile" "$repeat")
    t_one=$(seconds_of "$windows/wine-run" "$windows/bin/pstdump.exe" walk "$winfile" 1)
    t_wine=$(echo "($t_many - $t_one) / ($repeat - 1)" | bc -l)
  fi
  t_pff=0
  for _ in 1 2 3; do
    rm -rf "$tmp/export"*
    t=$(seconds_of pffexport -q -f all -t "$tmp/export" "$file")
    t_pff=$(echo "$t_pff + $t / 3" | bc -l)
  done
  rate() { printf '%7.0f msg/s %6.1f MB/s' "$(echo "$msgs / $1" | bc -l)" "$(echo "$mb / $1" | bc -l)"; }
  wine_col="(no Windows build)"
  wine_ratio="-"
  if [ -n "$t_wine" ]; then
    wine_col=$(rate "$t_wine")
    wine_ratio=$(printf '%.1fx' "$(echo "$t_pff / $t_wine" | bc -l)")
  fi
  printf '%-28s %8.2f %6s | %s | %s | %s | %.1fx / %s faster than pffexport\n' "$(basename "$file")" "$mb" "$msgs" \
    "$(rate "$t_native")" "$wine_col" "$(rate "$t_pff")" "$(echo "$t_pff / $t_native" | bc -l)" "$wine_ratio"
done
