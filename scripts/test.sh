#!/usr/bin/env bash
# Set-up, both builds, and every test: native tests directly, Windows tests under Wine on private
# Xvfb displays. The build's prefix on the first display runs the tests that drive no window. Each
# further display is a slot that CTest hands to one windowed test at a time, with a Wine prefix of its
# own (a copy of the build's), so windowed tests run side by side without sharing a desktop, a
# wineserver or key state, and without waiting behind the other tests' wineserver requests. The last
# display runs a window manager (openbox), as a user's desktop does; the tests that must also meet
# one (the "wmdisplay" slot) run there. Exits non-zero when anything fails. Extra arguments go to both
# ctest runs. BRINDLE_DISPLAY_SLOTS sets the number of bare windowed slots (default: half the
# processors, at most 4).
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
"$src/scripts/setup.sh"

export BRINDLE_BUILD_DIR="${BRINDLE_BUILD_DIR:-$src/build}"
# Test programs print their failures only, so that a failing run's log shows them rather than the
# names of hundreds of passing tests.
export GTEST_BRIEF="${GTEST_BRIEF:-1}"
native="${BRINDLE_NATIVE_BUILD_DIR:-$src/build-native}"
jobs="$(nproc)"
slots="${BRINDLE_DISPLAY_SLOTS:-$((jobs / 2))}"
[ "$slots" -ge 1 ] || slots=1
[ -n "${BRINDLE_DISPLAY_SLOTS:-}" ] || [ "$slots" -le 4 ] || slots=4

source "$src/scripts/wine-env.sh"
# The slot of the display with a window manager, after the bare ones.
wm_slot=$((slots + 1))
xvfb_pids=()
displays=()
native_pid=
wm_pid=
small_disks=()
cleanup() {
  local slot disk
  for disk in "${small_disks[@]}"; do umount "$disk" >/dev/null 2>&1 || true; done
  for ((slot = 0; slot <= wm_slot; slot++)); do
    (brindle_wine_slot "$slot" && wineserver -k >/dev/null 2>&1) || true
  done
  [ -z "$native_pid" ] || kill "$native_pid" >/dev/null 2>&1 || true
  [ -z "$wm_pid" ] || kill "$wm_pid" >/dev/null 2>&1 || true
  [ "${#xvfb_pids[@]}" -eq 0 ] || kill "${xvfb_pids[@]}" >/dev/null 2>&1 || true
}
trap cleanup EXIT

# Displays of our own, on free numbers. Another run may take a number between our look and our
# start: then that Xvfb ends at once and we go on to the next number.
display=99
while [ "${#displays[@]}" -le "$wm_slot" ]; do
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && kill -0 "$pid" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$display" ]; then
    xvfb_pids+=("$pid")
    displays+=(":$display")
  fi
  display=$((display + 1))
done
export DISPLAY="${displays[0]}"
export BRINDLE_DISPLAYS="${displays[*]}"

# The window manager of the last display, up before any Wine program shows a window there (the
# prefix's set-up reads whether one runs). It answers on the root window once it manages the screen.
DISPLAY="${displays[$wm_slot]}" openbox >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 200); do
  xprop -display "${displays[$wm_slot]}" -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  kill -0 "$wm_pid" 2>/dev/null || break
  sleep 0.05
done
if ! xprop -display "${displays[$wm_slot]}" -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  echo "test.sh: openbox did not start on ${displays[$wm_slot]}" >&2
  exit 1
fi

# Wineservers left from an earlier run would keep that run's displays.
for ((slot = 0; slot <= wm_slot; slot++)); do
  (brindle_wine_slot "$slot" && wineserver -k >/dev/null 2>&1 && wineserver -w) || true
done

# The native side (build, tests, cross-checks) and the making of the Wine prefix go on beside the
# Windows build, which is the longer one; the native side's report follows the build's.
native_log="$(mktemp)"
(
  status=0
  "$src/scripts/build-native.sh" || exit 1
  echo "== native tests"
  ctest --test-dir "$native" --output-on-failure -j "$jobs" "$@" || status=1
  if [ -x "$src/scripts/cross-check.sh" ]; then "$src/scripts/cross-check.sh" || status=1; fi
  exit $status
) >"$native_log" 2>&1 &
native_pid=$!
brindle_wine_create >/dev/null 2>&1 &
create_pid=$!

status=0
"$src/scripts/build.sh" || status=$?
wait "$create_pid" || true
native_status=0
wait "$native_pid" || native_status=$?
native_pid=
cat "$native_log"
rm -f "$native_log"
[ "$status" -eq 0 ] || exit "$status"
[ "$native_status" -eq 0 ] || status=1

export BRINDLE_SCREENSHOT_DIR
BRINDLE_SCREENSHOT_DIR="$(brindle_windows_path "$BRINDLE_BUILD_DIR/screenshots")"
mkdir -p "$BRINDLE_BUILD_DIR/screenshots"
brindle_wine_prepare_slots "$((wm_slot + 1))"
setup_pids=()
for ((slot = 0; slot <= wm_slot; slot++)); do
  (brindle_wine_slot "$slot" && DISPLAY="${displays[$slot]}" brindle_wine_setup) &
  setup_pids+=($!)
done
for pid in "${setup_pids[@]}"; do wait "$pid" || status=1; done

# One slot of the "display" resource per bare windowed display, for the windowed tests
# (brindle_add_test), and the "wmdisplay" slot for the tests that also run under a window manager.
display_slots="$BRINDLE_BUILD_DIR/display-slots.json"
{
  printf '{"version": {"major": 1, "minor": 0}, "local": [{"display": ['
  for ((slot = 1; slot <= slots; slot++)); do
    [ "$slot" -eq 1 ] || printf ', '
    printf '{"id": "%d", "slots": 1}' "$slot"
  done
  printf '], "wmdisplay": [{"id": "%d", "slots": 1}]}]}\n' "$wm_slot"
} >"$display_slots"

# A small disk for each run of the wizard's failure tests, which fill one (its marker says it is mounted;
# where mounting is not allowed the full-disk test skips).
for name in wizard_failure_tests wizard_failure_tests_wm; do
  disk="$BRINDLE_BUILD_DIR/small-disks/$name"
  mkdir -p "$disk"
  umount "$disk" >/dev/null 2>&1 || true
  if mount -t tmpfs -o size=4m tmpfs "$disk" >/dev/null 2>&1; then
    small_disks+=("$disk")
    : >"$disk/small-disk"
  fi
done

echo "== Windows tests (Wine on ${displays[0]}, windowed tests on ${displays[*]:1:$slots}," \
  "under a window manager on ${displays[$wm_slot]})"
ctest --test-dir "$BRINDLE_BUILD_DIR" --output-on-failure -j "$jobs" --resource-spec-file "$display_slots" "$@" ||
  status=1
# A whole suite is followed by a newcomer's run on a display of its own, as a user's would come after
# the tests.
if [ $# -eq 0 ]; then
  echo "== scripts/run.sh after the tests"
  "$src/scripts/run-check.sh" || status=1
fi
exit $status
