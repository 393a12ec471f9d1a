#!/usr/bin/env bash
# How soon a stop ends a conversion with many folders not begun: a PST of FOLDERS folders of ITEMS items
# (pstbuild), stopped in its first folder; stop_promptness times, under Wine, the stop to the end of the
# count of every folder not begun, by the counts the PST states (as the driver counts them) beside the
# folders' lists of items read (the earlier way), in the same run.
# Usage: bench/stop/run.sh [FOLDERS=200] [ITEMS=1000] [TURNS=2]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
folders="${1:-200}"
items="${2:-1000}"
turns="${3:-2}"
export BRINDLE_BUILD_DIR="${BRINDLE_BUILD_DIR:-$src/build}"
"$src/scripts/build.sh" --target stop_promptness pstbuild AutomationStandIns notes_installation >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
win_work="Z:${work//\//\\}"

"$BRINDLE_BUILD_DIR/wine-run" "$BRINDLE_BUILD_DIR/bin/pstbuild.exe" bulk "$((folders * items))" \
    "$win_work\\stop.pst" --folders "$folders" >/dev/null
echo "== $folders folders of $items items, stopped at item 100 of the first"
"$BRINDLE_BUILD_DIR/wine-run" "$BRINDLE_BUILD_DIR/bin/stop_promptness.exe" "$win_work\\stop.pst" "$win_work" 100 "$turns"
