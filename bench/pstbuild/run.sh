#!/usr/bin/env bash
# Speed and memory of the PST builder on a large generated file: pstbuild bulk natively, and under
# Wine when the Windows build exists. Prints messages/s, MB/s and peak memory.
# Usage: bench/pstbuild/run.sh [N=100000] [ATTACHMENT_BYTES=20000]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
n="${1:-100000}"
bytes="${2:-20000}"
native="${BRINDLE_NATIVE_BUILD_DIR:-$src/build-native}"
windows="${BRINDLE_BUILD_DIR:-$src/build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

report() {  # label, seconds, file, peak KiB
  local size
  size="$(stat -c %s "$3")"
  awk -v l="$1" -v s="$2" -v b="$size" -v n="$n" -v k="$4" 'BEGIN {
    printf "%-8s %d messages, %.1f MB in %.2f s: %.0f messages/s, %.1f MB/s, peak %.0f MB\n",
           l, n, b / 1e6, s, n / s, b / 1e6 / s, k / 1024 }'
}

run() {  # label, out file, command...
  local label="$1" out="$2"
  shift 2
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null
  read -r secs peak <"$work/time"
  report "$label" "$secs" "$out" "$peak"
}

run native "$work/native.pst" "$native/bin/pstbuild" bulk "$n" "$work/native.pst" --attachment-bytes "$bytes"
if [ -x "$windows/wine-run" ] && [ -f "$windows/bin/pstbuild.exe" ]; then
  source "$src/scripts/wine-env.sh"
  # Peak memory under Wine is the loader's, not the program's alone.
  run wine "$work/wine.pst" "$windows/wine-run" "$windows/bin/pstbuild.exe" bulk "$n" \
    "$(brindle_windows_path "$work/wine.pst")" --attachment-bytes "$bytes"
  cmp -s "$work/native.pst" "$work/wine.pst" && echo "native and Windows builds wrote the same bytes"
fi
