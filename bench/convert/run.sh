#!/usr/bin/env bash
# Speed and memory of the whole conversion: convert-harness (PST through the automation stand-ins into
# a new NSF, under Wine) beside readpst exporting the same file natively to files and pstdump walking it
# (natively and under Wine), in the same run. Prints seconds, items/s and peak memory of each, and
# the harness's speed as a ratio of the others'.
# The harness also reads every item once more and the NSF back to report losses, so its time is an
# upper bound of the conversion's; under Wine, time and peak memory include Wine's start-up.
# Usage: bench/convert/run.sh [FILE...]
#   default: a builder PST of $BENCH_ITEMS mixed items (10000, `pstbuild bulk`) and the largest fixture.
# Needs build/ (scripts/build.sh) with its Wine prefix and build-native/ (scripts/build-native.sh).
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
native="${BRINDLE_NATIVE_BUILD_DIR:-$src/build-native}"
windows="${BRINDLE_BUILD_DIR:-$src/build}"
fixtures="${BRINDLE_TESTDATA_UNIX:-$src/../shared/testdata}/pst"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

export BRINDLE_BUILD_DIR="$windows"
# shellcheck source=/dev/null
source "$src/scripts/wine-env.sh"
brindle_wine_setup

files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  "$native/bin/pstbuild" bulk "${BENCH_ITEMS:-10000}" "$work/bulk.pst" >/dev/null
  largest="$(ls -S "$fixtures"/*.pst "$fixtures"/*.ost | head -1)"
  files=("$work/bulk.pst" "$largest")
fi

timed() {  # out-file, command... -> "seconds peak-KiB"; the command's output goes to out-file
  local out="$1"
  shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$out" 2>/dev/null || true
  cat "$work/time"
}

line() {  # label, items, seconds, peak KiB, harness seconds
  awk -v l="$1" -v n="$2" -v s="$3" -v k="$4" -v h="$5" 'BEGIN {
    s = s > 0 ? s : 0.01
    printf "  %-22s %7.2f s %9.0f items/s  peak %6.0f MB  harness speed x%.2f\n", l, s, n / s, k / 1024, s / h }'
}

for file in "${files[@]}"; do
  rm -f "$work/out.nsf"
  read -r t_conv m_conv < <(timed "$work/harness.txt" "$windows/wine-run" "$windows/bin/convert-harness.exe" \
    "$(brindle_windows_path "$file")" "$(brindle_windows_path "$work/out.nsf")")
  items=$(awk -F'\t' 'NF == 5 { n += $1 } END { print n + 0 }' "$work/harness.txt")
  documents=$(awk -F'\t' 'NF == 5 { n += $2 } END { print n + 0 }' "$work/harness.txt")
  rm -rf "$work/readpst" && mkdir "$work/readpst"
  read -r t_readpst m_readpst < <(timed /dev/null readpst -q -o "$work/readpst" "$file")
  read -r t_walk m_walk < <(timed /dev/null "$native/bin/pstdump" walk "$file")
  read -r t_wwalk m_wwalk < <(timed /dev/null "$windows/wine-run" "$windows/bin/pstdump.exe" walk \
    "$(brindle_windows_path "$file")")
  rm -rf "$work/readpst"

  echo "$(basename "$file"): $(stat -c %s "$file") bytes, $items items, $documents documents written"
  line "convert-harness (Wine)" "$items" "$t_conv" "$m_conv" "$t_conv"
  line "readpst -o (native)" "$items" "$t_readpst" "$m_readpst" "$t_conv"
  line "pstdump walk (native)" "$items" "$t_walk" "$m_walk" "$t_conv"
  line "pstdump walk (Wine)" "$items" "$t_wwalk" "$m_wwalk" "$t_conv"
done
