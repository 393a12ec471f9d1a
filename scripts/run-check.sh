#!/usr/bin/env bash
# A newcomer's run, checked: scripts/run.sh on a display of its own (standing for the user's screen)
# after other Wine use of the prefix, until the program's main window shows there. Saves what the
# screen shows as build/screenshots/run-sh.png, then ends the program. Exits non-zero when no window
# appeared within a minute.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
export BRINDLE_BUILD_DIR="${BRINDLE_BUILD_DIR:-$src/build}"
title="Brindle for PST to NSF ver 8.07.01"

display=120
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
run_pid=
finish() {
  # The program and its launcher loop end with the prefix's processes, started for this display.
  if [ -n "$run_pid" ]; then kill "$run_pid" >/dev/null 2>&1 || true; fi
  (source "$src/scripts/wine-env.sh" && wineserver -k >/dev/null 2>&1) || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap finish EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

log="$BRINDLE_BUILD_DIR/run-check.log"
DISPLAY=":$display" "$src/scripts/run.sh" >"$log" 2>&1 &
run_pid=$!

shown=
for _ in $(seq 120); do
  if DISPLAY=":$display" xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; then
    shown=1
    break
  fi
  sleep 0.5
done
mkdir -p "$BRINDLE_BUILD_DIR/screenshots"
# The window is mapped before it has painted: the picture is taken once it has had time to.
[ -z "$shown" ] || sleep 3
import -display ":$display" -window root "$BRINDLE_BUILD_DIR/screenshots/run-sh.png" >/dev/null 2>&1 || true
if [ -z "$shown" ]; then
  echo "run-check: the main window did not show on display :$display; scripts/run.sh said:" >&2
  cat "$log" >&2
  exit 1
fi
echo "run-check: scripts/run.sh showed the main window on display :$display"
