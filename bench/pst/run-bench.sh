#!/usr/bin/env bash
# Reader throughput. For each file: `pstdump walk` (every message's subject, bodies and attachment
# sizes, as the converter reads them) natively and under Wine, `pstdump attachments` (every
# attachment byte read and checksummed) natively, and `pffexport` (libpff exporting everything) in
# the same run. Prints messages/s, MB/s and how many times faster than pffexport.
# Usage: bench/pst/run-bench.sh [FILE...]
#   default: the largest fixture and a generated file of $BENCH_MESSAGES messages (10000) with an
#   attachment of $BENCH_ATTACHMENT bytes (40000) each, written by bench/pst/MakeLargePst.cpp.
# Needs build-native/ and, for the Wine column, build/ (scripts/build.sh) with its Wine prefix.
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
native="${BRINDLE_NATIVE_BUILD_DIR:-$src/build-native}"
windows="${BRINDLE_BUILD_DIR:-$src/build}"
fixtures="${BRINDLE_TESTDATA_UNIX:-$src/tests/data}/pst"
repeat="${BENCH_REPEAT:-10}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  g++ -O2 -std=c++17 -I"$src/tests/pst" -I"$src/platform/pst/include" "$src/bench/pst/MakeLargePst.cpp" \
    "$src/tests/pst/MiniPst.cpp" "$src/platform/pst/format/Codec.cpp" -o "$tmp/make-large-pst"
  "$tmp/make-large-pst" "$tmp/generated.pst" "${BENCH_MESSAGES:-10000}" "${BENCH_ATTACHMENT:-40000}" >/dev/null
  files=("$fixtures/ost-exchange-sample.ost" "$tmp/generated.pst")
fi

have_wine=0
if [ -x "$windows/bin/pstdump.exe" ] && [ -x "$windows/wine-run" ]; then
  have_wine=1
  export BRINDLE_BUILD_DIR="$windows"
  # shellcheck source=/dev/null
  source "$src/scripts/wine-env.sh"
fi

now() { date +%s.%N; }
seconds_of() {  # command... -> elapsed seconds; output discarded
  local start end
  start=$(now)
  "$@" >/dev/null 2>&1 || true
  end=$(now)
  echo "$end - $start" | bc -l
}
rate() {  # seconds messages megabytes
  printf '%8.0f msg/s %7.1f MB/s' "$(echo "$2 / $1" | bc -l)" "$(echo "$3 / $1" | bc -l)"
}

printf '%-24s %7s %6s | %-25s | %-25s | %-25s | %-25s | %s\n' file MB msgs "walk native" "walk Wine" \
  "all bytes native" "pffexport" "times faster than pffexport (walk native/Wine, bytes)"
for file in "${files[@]}"; do
  mb=$(echo "$(stat -c %s "$file") / 1048576" | bc -l)
  msgs=$("$native/bin/pstdump" walk "$file" | awk '/^messages/{print $2}')
  t_walk=$(echo "$(seconds_of "$native/bin/pstdump" walk "$file" "$repeat") / $repeat" | bc -l)
  t_bytes=$(seconds_of "$native/bin/pstdump" attachments "$file")
  t_wine=""
  if [ $have_wine = 1 ]; then
    winfile=$(brindle_windows_path "$file")
    # One process for all walks pays Wine's start-up once; a one-walk run measures that start-up.
    t_many=$(seconds_of "$windows/wine-run" "$windows/bin/pstdump.exe" walk "$winfile" "$repeat")
    t_one=$(seconds_of "$windows/wine-run" "$windows/bin/pstdump.exe" walk "$winfile" 1)
    t_wine=$(echo "($t_many - $t_one) / ($repeat - 1)" | bc -l)
  fi
  rm -rf "$tmp/export"*
  t_pff=$(seconds_of pffexport -q -f all -t "$tmp/export" "$file")
  rm -rf "$tmp/export"*
  wine_col="(no Windows build)"
  wine_ratio="-"
  if [ -n "$t_wine" ]; then
    wine_col=$(rate "$t_wine" "$msgs" "$mb")
    wine_ratio=$(printf '%.1f' "$(echo "$t_pff / $t_wine" | bc -l)")
  fi
  printf '%-24s %7.1f %6s | %s | %s | %s | %s | %.1f / %s, %.1f\n' "$(basename "$file")" "$mb" "$msgs" \
    "$(rate "$t_walk" "$msgs" "$mb")" "$wine_col" "$(rate "$t_bytes" "$msgs" "$mb")" \
    "$(rate "$t_pff" "$msgs" "$mb")" "$(echo "$t_pff / $t_walk" | bc -l)" "$wine_ratio" \
    "$(echo "$t_pff / $t_bytes" | bc -l)"
done
