#!/usr/bin/env bash
# Set-up, build, and start the program the way a user does: through the launcher, from the program
# directory, under Wine. Uses $DISPLAY when there is one, else starts Xvfb (then nothing is seen on
# screen; take screenshots with `import -display :N -window root out.png`).
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
"$src/scripts/setup.sh"
export BRINDLE_BUILD_DIR="${BRINDLE_BUILD_DIR:-$src/build}"
"$src/scripts/build.sh"

if [ -z "${DISPLAY:-}" ]; then
  display=99
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  export DISPLAY=":$display"
  echo "run: no DISPLAY; started Xvfb on $DISPLAY"
  sleep 1
fi

source "$src/scripts/wine-env.sh"
brindle_wine_setup

bin="$BRINDLE_BUILD_DIR/bin"

# Something to convert for a first try: a sample PST made by the PST builder, in the Wine user's
# Documents folder (made once; a file the user put there is left alone). Wine links that folder to the
# host's home directory; the build's prefix keeps a Documents folder of its own instead, so that
# nothing lands outside the build tree.
brindle_leave_sample_pst() {
  local profile documents documents_unix
  [ -f "$bin/pstbuild.exe" ] || return 0
  profile="$(wine cmd /c 'echo %USERPROFILE%' 2>/dev/null | tr -d '\r')" || return 0
  [ -n "$profile" ] || return 0
  documents="$profile\\Documents"
  documents_unix="$(winepath -u "$documents" 2>/dev/null)" || return 0
  case "$documents_unix" in "$WINEPREFIX"/*) ;; *) return 0 ;; esac
  if [ -L "${documents_unix%/}" ]; then rm -f "${documents_unix%/}"; fi
  mkdir -p "$documents_unix"
  if [ ! -e "$documents_unix/Sample Outlook.pst" ]; then
    wine "$bin/pstbuild.exe" sample "$documents\\Sample Outlook.pst" >/dev/null 2>&1 &&
      echo "run: left a sample PST to convert in $documents\\Sample Outlook.pst"
  fi
}
brindle_leave_sample_pst

# TRUE while a "Brindle for PST to NSF.exe" of this prefix runs.
brindle_main_program_running() {
  local proc cmd
  for proc in /proc/[0-9]*; do
    cmd="$(tr '\0' ' ' 2>/dev/null <"$proc/cmdline")" || continue
    [[ "$cmd" == *"Brindle for PST to NSF.exe"* ]] || continue
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "$proc/environ" 2>/dev/null && return 0
  done
  return 1
}
for program in "Brindle Launcher.exe" "Brindle for PST to NSF.exe" "build_sample.exe"; do
  if [ -f "$bin/$program" ]; then
    cd "$bin"
    echo "run: starting $program"
    wine "$program" "$@"
    # The launcher exits at once; stay until the main program it started has ended. (The prefix's
    # wineserver is persistent, so `wineserver -w` would never return.)
    if [ "$program" = "Brindle Launcher.exe" ]; then
      sleep 1
      while brindle_main_program_running; do sleep 1; done
    fi
    exit 0
  fi
done
echo "run: nothing to start in $bin" >&2
exit 1
