#!/usr/bin/env bash
# The memory a process keeps from one conversion to the next: a bulk PST (pstbuild) converted RUNS
# times in one process by repeated_conversions under Wine, each run into a new NSF, then each into
# the same NSF. The heap's bytes in use after each run stay at the first run's level when nothing is
# kept (into the same NSF, SQLite's kept blocks may still grow up to their bound of 8 MB).
# Usage: bench/memory/run.sh [MESSAGES=40000] [RUNS=8]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
n="${1:-40000}"
runs="${2:-8}"
export BRINDLE_BUILD_DIR="${BRINDLE_BUILD_DIR:-$src/build}"
"$src/scripts/build.sh" --target repeated_conversions pstbuild AutomationStandIns notes_installation >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
win_work="Z:${work//\//\\}"

"$BRINDLE_BUILD_DIR/wine-run" "$BRINDLE_BUILD_DIR/bin/pstbuild.exe" bulk "$n" "$win_work\\bulk.pst"
echo "== $n messages, $runs runs, a new NSF each"
"$BRINDLE_BUILD_DIR/wine-run" "$BRINDLE_BUILD_DIR/bin/repeated_conversions.exe" "$win_work\\bulk.pst" "$win_work" "$runs"
rm -f "$work"/run*.nsf*
echo "== $n messages, $runs runs, all into one NSF"
"$BRINDLE_BUILD_DIR/wine-run" "$BRINDLE_BUILD_DIR/bin/repeated_conversions.exe" "$win_work\\bulk.pst" "$win_work" "$runs" same
