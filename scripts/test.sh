#!/usr/bin/env bash
# Set-up, both builds, and every test: native tests directly, Windows tests under Wine on a private
# Xvfb display. Exits non-zero when anything fails. Extra arguments go to both ctest runs.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
"$src/scripts/setup.sh"

export BRINDLE_BUILD_DIR="${BRINDLE_BUILD_DIR:-$src/build}"
native="${BRINDLE_NATIVE_BUILD_DIR:-$src/build-native}"
jobs="$(nproc)"

"$src/scripts/build-native.sh"
"$src/scripts/build.sh"

# A display of our own, on the first free number, stopped on exit.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
source "$src/scripts/wine-env.sh"
# A wineserver left from an earlier run would keep that run's display.
wineserver -k >/dev/null 2>&1 && wineserver -w || true
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

export BRINDLE_SCREENSHOT_DIR
BRINDLE_SCREENSHOT_DIR="$(brindle_windows_path "$BRINDLE_BUILD_DIR/screenshots")"
mkdir -p "$BRINDLE_BUILD_DIR/screenshots"
brindle_wine_setup

status=0
echo "== native tests"
ctest --test-dir "$native" --output-on-failure -j "$jobs" "$@" || status=1
[ -x "$src/scripts/cross-check.sh" ] && { "$src/scripts/cross-check.sh" || status=1; }
echo "== Windows tests (Wine)"
ctest --test-dir "$BRINDLE_BUILD_DIR" --output-on-failure -j "$jobs" "$@" || status=1
# A whole suite is followed by a newcomer's run on a display of its own, as a user's would come after
# the tests.
if [ $# -eq 0 ]; then
  echo "== scripts/run.sh after the tests"
  "$src/scripts/run-check.sh" || status=1
fi
exit $status
