#!/usr/bin/env bash
# Speed and memory of the whole conversion: convert-harness (PST through the automation stand-ins into
# a new NSF, under Wine) beside readpst and pffexport exporting the same file natively to files and
# pstdump walking it natively, in the same run. For each builder PST (`pstbuild bulk`, with and without
# a 20 KB attachment per item) it prints the median of BENCH_RUNS runs of each: seconds, items/s, peak
# memory, and the harness's rate as a ratio of each other's; the harness's read-back of the NSF is
# timed apart, and its time per item shows whether the cost stays flat as the PST grows. With
# BENCH_REQUESTS=1 it also counts the wineserver requests per item (a traced wineserver, 1,000 against
# 2,000 items, so that start-up cancels out).
# The time per item of each size is also given against that of the smallest size of at least 2,000
# items, conversion and read-back together: it stays near 1 when the cost is flat in the PST's size.
# Usage: bench/convert/run.sh [--quick]
#   --quick       the sizes 1,000 and 10,000 only
#   BENCH_SIZES   item counts (default "1000 10000 100000")
#   BENCH_RUNS    runs of each program per file (default 3)
#   BENCH_ATTACHMENT_BYTES  attachment size of the attachment PSTs (default 20000; 0 leaves them out)
#   BENCH_NATIVE  0 leaves readpst, pffexport and pstdump out (the harness's own time per item only)
#   BENCH_BASELINE  another Windows build tree whose convert-harness (one that takes --timing) runs
#                 beside ours, before and after, with its phases and time per item as ours
# Needs build/ (scripts/build.sh) and build-native/ (scripts/build-native.sh); readpst and pffexport
# come with scripts/setup.sh. Peak memory under Wine includes Wine's own.
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
native="${BRINDLE_NATIVE_BUILD_DIR:-$src/build-native}"
windows="${BRINDLE_BUILD_DIR:-$src/build}"
sizes="${BENCH_SIZES:-1000 10000 100000}"
if [ "${1:-}" = --quick ]; then
  sizes="1000 10000"
elif [ $# -gt 0 ]; then
  echo "usage: $0 [--quick]" >&2
  exit 2
fi
runs="${BENCH_RUNS:-3}"
attachment="${BENCH_ATTACHMENT_BYTES:-20000}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

export BRINDLE_BUILD_DIR="$windows"
# shellcheck source=/dev/null
source "$src/scripts/wine-env.sh"
brindle_wine_setup

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# Runs a command BENCH_RUNS times; prints "median-seconds median-peak-KiB". The command's output of the
# last run stays in $work/out, its standard error in $work/err.
measure() {
  local i
  : >"$work/times"
  for ((i = 0; i < runs; i++)); do
    "$@" </dev/null
    # A program that exits non-zero (the harness when it reports a loss) gets a line of its own first.
    tail -n 1 "$work/time" >>"$work/times"
  done
  echo "$(cut -d' ' -f1 "$work/times" | median) $(cut -d' ' -f2 "$work/times" | median)"
}

timed() {  # command... -> $work/time "seconds peak-KiB"
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$work/out" 2>"$work/err" || true
}

harness() {  # pst
  rm -f "$work"/out.nsf*
  timed wine "$windows/bin/convert-harness.exe" --timing "$(brindle_windows_path "$1")" \
    "$(brindle_windows_path "$work/out.nsf")"
  sed -n 's/^convert-harness: conversion \([0-9.]*\) s, read-back \([0-9.]*\) s$/\1 \2/p' "$work/err" \
    >>"$work/phases"
  rm -f "$work"/out.nsf*
}

# The harness of another build tree (BENCH_BASELINE, say one of main), in that tree's own prefix, set up
# once here: setting a prefix up looks at the processes of the machine, and one that ends meanwhile
# must not end the benchmark.
baseline_env() {
  export BRINDLE_BUILD_DIR="$BENCH_BASELINE"
  # shellcheck source=/dev/null
  source "$src/scripts/wine-env.sh"
}
if [ -n "${BENCH_BASELINE:-}" ]; then
  (baseline_env && brindle_wine_setup)
fi
baseline_run() {
  rm -f "$work"/base.nsf*
  (
    baseline_env
    timed wine "$BENCH_BASELINE/bin/convert-harness.exe" --timing "$(brindle_windows_path "$1")" \
      "$(brindle_windows_path "$work/base.nsf")"
  )
  sed -n 's/^convert-harness: conversion \([0-9.]*\) s, read-back \([0-9.]*\) s$/\1 \2/p' "$work/err" \
    >>"$work/base_phases"
  rm -f "$work"/base.nsf*
}

readpst_run() {
  rm -rf "$work/readpst" && mkdir "$work/readpst"
  timed readpst -q -o "$work/readpst" "$1"
  rm -rf "$work/readpst"
}

pffexport_run() {
  rm -rf "$work/pff" "$work/pff.export"
  timed pffexport -q -t "$work/pff" "$1"
  rm -rf "$work/pff" "$work/pff.export"
}

walk_run() { timed "$native/bin/pstdump" walk "$1"; }

line() {  # label, items, seconds, peak KiB, harness seconds, note
  awk -v l="$1" -v n="$2" -v s="$3" -v k="$4" -v h="$5" -v note="$6" 'BEGIN {
    s = s > 0 ? s : 0.01
    printf "  %-24s %8.2f s %9.0f items/s %6.0f MB   harness rate x%-6.2f %s\n", l, s, n / s, k / 1024, s / h, note }'
}

# Requests the harness makes to the wineserver on pst, by name, into file.
count_requests() {  # pst, file
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -f -d1 2>"$work/trace" &
  local server=$!
  sleep 0.5
  rm -f "$work"/count.nsf*
  wine "$windows/bin/convert-harness.exe" "$(brindle_windows_path "$1")" \
    "$(brindle_windows_path "$work/count.nsf")" >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$work"/count.nsf*
  grep -E '^[0-9a-f]{4}: [a-z_]+\(' "$work/trace" | grep -vE '^[0-9a-f]{4}: [a-z_]+\(\) = ' |
    sed -E 's/^[0-9a-f]{4}: //; s/\(.*//' | sort | uniq -c >"$2"
  rm -f "$work/trace"
}

requests_per_item() {  # label, attachment bytes
  local extra=()
  [ "$2" -gt 0 ] && extra=(--attachment-bytes "$2")
  "$native/bin/pstbuild" bulk 1000 "$work/r1.pst" "${extra[@]}" >/dev/null
  "$native/bin/pstbuild" bulk 2000 "$work/r2.pst" "${extra[@]}" >/dev/null
  count_requests "$work/r1.pst" "$work/r1.count"
  count_requests "$work/r2.pst" "$work/r2.count"
  echo "wineserver requests per item, $1:"
  join -1 2 -2 2 -a 2 -e 0 -o 0,1.1,2.1 <(sort -k2 "$work/r1.count") <(sort -k2 "$work/r2.count") |
    awk '{d = ($3 - $2) / 1000; t += d; if (d >= 0.01) printf "  %-26s %6.2f\n", $1, d} END {printf "  %-26s %6.2f\n", "all", t}'
  rm -f "$work"/r1.* "$work"/r2.*
  brindle_wine_setup
}

if [ "${BENCH_REQUESTS:-0}" = 1 ]; then
  requests_per_item "plain items" 0
  [ "$attachment" -gt 0 ] && requests_per_item "items with a $attachment-byte attachment" "$attachment"
fi

# The median conversion and read-back seconds of a phases file: "conversion read-back".
median_phases() { sort -n "$1" | awk '{c[NR] = $1; b[NR] = $2} END {m = int((NR + 1) / 2); print c[m], b[m]}'; }

# The note on a harness's line: its two phases per item and, once a reference is set, its time per item
# against that reference.
phase_note() {  # conversion seconds, read-back seconds, items, reference us/item
  awk -v c="$1" -v b="$2" -v n="$3" -v r="$4" 'BEGIN {
    flat = r > 0 ? sprintf(", x%.2f per item", (c + b) * 1e6 / n / r) : ""
    printf "(conversion %.2f s = %.0f us/item, read-back %.2f s = %.0f us/item%s)", c, c * 1e6 / n, b, b * 1e6 / n, flat }'
}

kinds=(0)
[ "$attachment" -gt 0 ] && kinds+=("$attachment")
for bytes in "${kinds[@]}"; do
  reference="" base_reference=""
  for n in $sizes; do
    pst="$work/bulk.pst"
    extra=()
    [ "$bytes" -gt 0 ] && extra=(--attachment-bytes "$bytes")
    "$native/bin/pstbuild" bulk "$n" "$pst" "${extra[@]}" >/dev/null
    : >"$work/phases"
    : >"$work/base_phases"
    read -r t_conv m_conv < <(measure harness "$pst")
    documents=$(awk -F'\t' 'NF == 5 { n += $2 } END { print n + 0 }' "$work/out")
    read -r p_conv p_back < <(median_phases "$work/phases")
    [ -n "${BENCH_BASELINE:-}" ] && read -r t_base m_base < <(measure baseline_run "$pst")
    if [ "${BENCH_NATIVE:-1}" != 0 ]; then
      read -r t_readpst m_readpst < <(measure readpst_run "$pst")
      read -r t_pff m_pff < <(measure pffexport_run "$pst")
      read -r t_walk m_walk < <(measure walk_run "$pst")
    fi

    if [ "$bytes" -gt 0 ]; then what="$n items with a $bytes-byte attachment"; else what="$n plain items"; fi
    echo "$what: PST $(($(stat -c %s "$pst") / 1000000)) MB, $documents documents written, median of $runs runs"
    per_item=$(awk -v c="$p_conv" -v b="$p_back" -v n="$n" 'BEGIN { printf "%.1f", (c + b) * 1e6 / n }')
    [ -z "${reference:-}" ] && [ "$n" -ge 2000 ] && reference=$per_item
    line "convert-harness (Wine)" "$n" "$t_conv" "$m_conv" "$t_conv" "$(phase_note "$p_conv" "$p_back" "$n" "${reference:-0}")"
    if [ -n "${BENCH_BASELINE:-}" ]; then
      note=""
      # A baseline harness that printed no phases (it failed) gets its totals only.
      if [ -s "$work/base_phases" ]; then
        read -r b_conv b_back < <(median_phases "$work/base_phases")
        base_item=$(awk -v c="$b_conv" -v b="$b_back" -v n="$n" 'BEGIN { printf "%.1f", (c + b) * 1e6 / n }')
        [ -z "${base_reference:-}" ] && [ "$n" -ge 2000 ] && base_reference=$base_item
        note=$(phase_note "$b_conv" "$b_back" "$n" "${base_reference:-0}")
      fi
      line "baseline harness (Wine)" "$n" "$t_base" "$m_base" "$t_conv" "$note"
    fi
    if [ "${BENCH_NATIVE:-1}" != 0 ]; then
      line "readpst -o (native)" "$n" "$t_readpst" "$m_readpst" "$t_conv" ""
      line "pffexport (native)" "$n" "$t_pff" "$m_pff" "$t_conv" ""
      line "pstdump walk (native)" "$n" "$t_walk" "$m_walk" "$t_conv" ""
    fi
    rm -f "$pst"
  done
done
