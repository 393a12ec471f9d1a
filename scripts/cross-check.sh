#!/usr/bin/env bash
# Native cross-checks of our PST tools against independent readers (Debian's libpff tools and
# readpst). Runs every script in scripts/cross-checks/ with the native build directory as $1; fails
# when any of them fails.
set -uo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
native="${BRINDLE_NATIVE_BUILD_DIR:-$src/build-native}"
status=0
for check in "$src"/scripts/cross-checks/*.sh; do
  [ -f "$check" ] || continue
  echo "== cross-check $(basename "$check")"
  bash "$check" "$native" || { echo "cross-check FAILED: $(basename "$check")"; status=1; }
done
exit $status
