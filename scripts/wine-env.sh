# Sourced, never run: the runtime layout of one build tree under Wine, used by the tests (through the
# build's wine-run wrapper), scripts/run.sh and CI.
#   - one Wine prefix per build tree ($BRINDLE_BUILD_DIR/wineprefix), never ~/.wine; a parallel test
#     run gives each further display slot a copy of it (wineprefix-N, see brindle_wine_slot);
#   - the build's COM servers registered in it (every DLL in bin/ that exports DllRegisterServer);
#   - the Notes runtime directory of the build ($BRINDLE_BUILD_DIR/notes) written as
#     HKLM\SOFTWARE\Lotus\Notes "path" and put on WINEPATH;
#   - the fixtures handed over in BRINDLE_TESTDATA as a path the Windows side can open;
#   - fixed time zone and locale so that dates and code-page conversions are reproducible.
# Expects BRINDLE_BUILD_DIR; BRINDLE_TESTDATA_UNIX defaults to the checkout's tests/data.

_brindle_src="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
: "${BRINDLE_BUILD_DIR:=$_brindle_src/build}"
: "${BRINDLE_TESTDATA_UNIX:=$_brindle_src/tests/data}"

# The prefix of a display slot. Slot 0 is the build's own prefix. Each further slot of a parallel test
# run (scripts/test.sh) has a copy of it, so that its windowed tests get their own wineserver, desktop
# and key state on their own display.
brindle_wine_slot() { # slot
  if [ "${1:-0}" = 0 ]; then
    export WINEPREFIX="$BRINDLE_BUILD_DIR/wineprefix"
  else
    export WINEPREFIX="$BRINDLE_BUILD_DIR/wineprefix-$1"
  fi
}
brindle_wine_slot "${BRINDLE_WINE_SLOT:-0}"
export WINEARCH=win64
# Wine's own messages are off, so that a test reads only its program's standard error; a caller that
# must say why a program gave nothing (Wine could not start it, a stack overflow) asks for Wine's errors
# with BRINDLE_WINEDEBUG=-all,err+all.
export WINEDEBUG="${BRINDLE_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export TZ=UTC
export LANG=C.UTF-8
export LC_ALL=C.UTF-8

# Z: maps the Unix root in every Wine prefix.
brindle_windows_path() {
  local p
  p="$(readlink -f "$1" 2>/dev/null || echo "$1")"
  printf 'Z:%s' "${p//\//\\}"
}

export BRINDLE_TESTDATA="$(brindle_windows_path "$BRINDLE_TESTDATA_UNIX")"
export WINEPATH="$(brindle_windows_path "$BRINDLE_BUILD_DIR/notes");$(brindle_windows_path "$BRINDLE_BUILD_DIR/bin")"

_brindle_reg_add() { # key value data
  wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1 9>&-
}

# Process ids of this prefix's processes whose command line matches the pattern.
_brindle_prefix_pids() {
  local pid
  for pid in $(pgrep -f "$1"); do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null && echo "$pid"
  done
  return 0
}

# Wine processes of this prefix other than its services, its desktop and the desktop's keeper: the
# programs that a restart of its wineserver would end.
_brindle_prefix_programs() {
  local pid
  for pid in $(pgrep -f '\.exe'); do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null || continue
    case "$(readlink "/proc/$pid/exe" 2>/dev/null)" in */wine | */wine64 | */wine-preloader | */wine64-preloader) ;; *) continue ;; esac
    case "$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)" in
      '' | *'\system32\'* | *desktop_keeper.exe*) ;;
      *) echo "$pid" ;;
    esac
  done
  return 0
}

# Ends a process of this prefix and waits until it is gone.
_brindle_end_pid() { # pid
  kill -9 "$1" 2>/dev/null || return 0
  while [ -e "/proc/$1" ]; do sleep 0.05; done
}

# The process may end between the listing and this read: that is no display, and no error.
_brindle_display_of() { # pid
  { tr '\0' '\n' <"/proc/$1/environ"; } 2>/dev/null | sed -n 's/^DISPLAY=//p' || true
}

# The prefix's desktop process, on the caller's display, started here and kept for the run. Started
# by the first program that opens a window instead, it would inherit that program's standard error
# (CTest's output pipe) and hold it for as long as it lives; and a desktop left on another display (a
# test run's Xvfb) would keep a later program's windows from being seen. Expects the lock of
# brindle_wine_setup held on descriptor 9.
_brindle_start_desktop() {
  local keeper="$BRINDLE_BUILD_DIR/bin/desktop_keeper.exe" ready="$WINEPREFIX/.brindle-desktop"
  [ -n "${DISPLAY:-}" ] && [ -f "$keeper" ] || return 0
  [ -n "$(_brindle_prefix_pids 'desktop_keeper\.exe')" ] && return 0
  # Without a window manager on the display, the X11 driver waits two seconds for one on every
  # top-level window that it hands over to it; unmanaged windows look the same there.
  local managed=Y
  xprop -display "$DISPLAY" -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || managed=N
  if [ "$(cat "$WINEPREFIX/.brindle-managed" 2>/dev/null)" != "$managed" ]; then
    _brindle_reg_add 'HKCU\Software\Wine\X11 Driver' Managed "$managed"
    echo "$managed" >"$WINEPREFIX/.brindle-managed"
  fi
  rm -f "$ready"
  setsid wine "$keeper" </dev/null >"$ready" 2>/dev/null 9>&- &
  _brindle_wait_keeper $! || echo "wine-env: the desktop of $WINEPREFIX did not come up on $DISPLAY" >&2
}

# Waits until the keeper says its desktop is up; false when it ended first or took longer than a
# minute (a prefix's first start on a loaded machine is slow).
_brindle_wait_keeper() { # pid
  local _
  for _ in $(seq 1200); do
    grep -qs ready "$WINEPREFIX/.brindle-desktop" && return 0
    [ -e "/proc/$1" ] || return 1
    sleep 0.05
  done
  return 1
}

# Wine's own faces for the dialog font (Tahoma) and the window-button glyphs (Marlett), in the
# prefix's font folder: this Wine does not read them from its data folder, and without them every
# dialog is set in a wider substitute and the title bars show letters where their buttons' glyphs
# belong.
_brindle_install_fonts() {
  local dir="$WINEPREFIX/drive_c/windows/Fonts" face
  [ -d "$dir" ] || return 0
  for face in marlett tahoma tahomabd; do
    [ -f "$dir/$face.ttf" ] || [ ! -f "/usr/share/wine/fonts/$face.ttf" ] ||
      cp "/usr/share/wine/fonts/$face.ttf" "$dir/" || true
  done
}

# Names in Chinese, Japanese and Korean (a user's folders, subjects, senders) are drawn with the Noto
# CJK face of the set-up: the faces that the program's dialogs and controls name fall back to it, as a
# Windows installation links its interface faces to its own East Asian ones. Wine's default links name
# Windows faces that a prefix does not have. Written once a prefix; its stamp says what was written.
_brindle_cjk_file=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
_brindle_cjk_link="NotoSansCJK-Regular.ttc,Noto Sans CJK JP"
_brindle_linked_faces=("MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Microsoft Sans Serif" "Segoe UI")
_brindle_link_fonts() {
  local stamp="$WINEPREFIX/.brindle-fontlink" face
  [ -f "$_brindle_cjk_file" ] || return 0
  [ "$(cat "$stamp" 2>/dev/null)" = "$_brindle_cjk_link:${_brindle_linked_faces[*]}" ] && return 0
  for face in "${_brindle_linked_faces[@]}"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d "$_brindle_cjk_link" /f >/dev/null 2>&1 9>&- || return 0
  done
  echo "$_brindle_cjk_link:${_brindle_linked_faces[*]}" >"$stamp"
}

_brindle_create_prefix() {
  if [ -f "$WINEPREFIX/.brindle-ready" ]; then
    _brindle_install_fonts
    _brindle_link_fonts
    return 0
  fi
  echo "wine-env: creating Wine prefix $WINEPREFIX" >&2
  wineboot -i >/dev/null 2>&1 9>&- || { echo "wine-env: wineboot failed" >&2; return 1; }
  wineserver -w 9>&-
  # A crashing test program must end and report, not wait for someone to close a dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 9>&-
  _brindle_install_fonts
  _brindle_link_fonts
  touch "$WINEPREFIX/.brindle-ready"
}

# Whether the prefix's machine registry holds a value that is this file's path, as Wine writes it
# there (backslashes doubled, in quotes).
_brindle_registry_names() { # file
  local win
  win="$(brindle_windows_path "$1")"
  grep -qiF "=\"${win//\\/\\\\}\"" "$WINEPREFIX/system.reg" 2>/dev/null
}

# The Notes runtime directory and the build's COM servers, written into the prefix's registry when
# they changed.
_brindle_register() {
  local stamp="$WINEPREFIX/.brindle-registered"
  if [ -d "$BRINDLE_BUILD_DIR/notes" ]; then
    local notes_win
    notes_win="$(brindle_windows_path "$BRINDLE_BUILD_DIR/notes")"
    if [ "$(cat "$WINEPREFIX/.brindle-notes" 2>/dev/null)" != "$notes_win" ] ||
      ! grep -qiF 'Software\\Lotus\\Notes]' "$WINEPREFIX/system.reg" 2>/dev/null; then
      _brindle_reg_add 'HKLM\SOFTWARE\Lotus\Notes' path "$notes_win"
      echo "$notes_win" > "$WINEPREFIX/.brindle-notes"
    fi
  fi
  local dll
  for dll in "$BRINDLE_BUILD_DIR"/bin/*.dll; do
    [ -f "$dll" ] || continue
    # The stamp alone is not enough: a wineserver killed before it saved the registry leaves a
    # stamp behind with no registration, and a copied or moved tree brings the stamp and a
    # registration of the tree it came from. So the prefix's registry must also name this tree's file.
    if [ ! -f "$stamp" ] || [ "$dll" -nt "$stamp" ] || ! _brindle_registry_names "$dll"; then
      # grep reads the whole listing: one that stopped at the first match would end objdump early,
      # which a caller's pipefail takes for a DLL without the export.
      if x86_64-w64-mingw32-objdump -p "$dll" 2>/dev/null | grep 'DllRegisterServer' >/dev/null; then
        wine regsvr32 /s "$(brindle_windows_path "$dll")" >/dev/null 2>&1 9>&- ||
          echo "wine-env: regsvr32 failed for $dll" >&2
      fi
    fi
  done
  touch "$stamp"
}

_brindle_setup_lock() {
  echo "$BRINDLE_BUILD_DIR/.wine-setup-$(basename "$WINEPREFIX").lock"
}

# Creates the prefix on first use and brings registrations up to date. Idempotent, cheap when
# nothing changed, and safe when several test programs start at once (one holds the lock).
brindle_wine_setup() {
  mkdir -p "$BRINDLE_BUILD_DIR"
  (
    flock 9
    _brindle_create_prefix || exit 1
    # A desktop on another display, or a keeper whose desktop is gone (its display was closed),
    # belongs to an earlier run: start the prefix anew on our display. Not while other programs run in
    # it: a restart would end them (exit code 0, nothing said), and Wine fails the start of a program
    # that meets the wineserver going down (exit code 1, nothing said). While they run, a keeper
    # without its desktop is replaced, which brings a desktop up on our display, and a desktop on
    # another display is kept.
    local desktop keeper
    keeper="$(_brindle_prefix_pids 'desktop_keeper\.exe' | head -1)"
    desktop="$(_brindle_prefix_pids 'explorer\.exe /desktop' | head -1)"
    # A keeper that an earlier set-up started may still be bringing its desktop up, slower than that
    # set-up waited for: it is waited for, not taken for one whose desktop is gone.
    if [ -n "$keeper" ] && [ -z "$desktop" ] && _brindle_wait_keeper "$keeper"; then
      desktop="$(_brindle_prefix_pids 'explorer\.exe /desktop' | head -1)"
    fi
    # A desktop process that ends while its display is read shows none: that is no other display.
    local shown=""
    [ -n "$desktop" ] && shown="$(_brindle_display_of "$desktop")"
    if [ -n "${DISPLAY:-}" ] && { { [ -n "$shown" ] && [ "$shown" != "$DISPLAY" ]; } ||
      { [ -n "$keeper" ] && [ -z "$desktop" ]; }; }; then
      local running
      running="$(_brindle_prefix_programs | wc -l)"
      if [ "$running" -eq 0 ]; then
        echo "wine-env: restarting the wineserver of $WINEPREFIX for display $DISPLAY" >&2
        wineserver -k >/dev/null 2>&1 9>&- || true
        wineserver -w 9>&- || true
      elif [ -z "$desktop" ]; then
        echo "wine-env: starting the desktop of $WINEPREFIX again; $running program(s) run in it" >&2
        _brindle_end_pid "$keeper"
      else
        echo "wine-env: the desktop of $WINEPREFIX stays on $shown, not $DISPLAY: $running program(s) run in it" >&2
        _brindle_register
        exit 0
      fi
    elif [ -n "${DISPLAY:-}" ] && [ -n "$keeper" ] && [ "$shown" = "$DISPLAY" ]; then
      # The keeper is started last, after the persistent wineserver and the services: with it and its
      # desktop on our display, an earlier setup of this run did the rest. Each test program and each
      # conversion of the tools' tests comes here, so this saves a Wine process start each time.
      _brindle_register
      exit 0
    fi
    # A persistent wineserver for the run, so that each program does not pay for a new one. No Wine
    # process may inherit the lock's descriptor (9), or the lock would outlive this function.
    wineserver -p >/dev/null 2>&1 9>&- || true
    # Start the prefix's services (device and plug-and-play services) here, detached from our output:
    # started by a test program instead, they would inherit CTest's output pipe and keep it open for
    # as long as the wineserver lives.
    wine cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
    _brindle_start_desktop
    _brindle_register
  ) 9>"$(_brindle_setup_lock)"
}

# The prefix made on first use, nothing more: a run may start this while the build is still going.
brindle_wine_create() {
  mkdir -p "$BRINDLE_BUILD_DIR"
  (
    flock 9
    _brindle_create_prefix
  ) 9>"$(_brindle_setup_lock)"
}

# A copy of a directory that holds a prefix: it shares the system's libraries and programs with the
# original (hard links: Wine never writes them in place) and has its own copy of everything else, each
# file with its times.
brindle_copy_sharing_system_files() { # from to
  cp -al "$1" "$2" || return 1
  find "$2" -type f ! \( -path '*/drive_c/windows/*' \
    -regex '.*\.\(dll\|exe\|drv\|sys\|ocx\|cpl\|acm\|ax\|tlb\|nls\|ttf\|fon\)' \) -print0 |
    while IFS= read -r -d '' file; do
      cp -p "$file" "$file.copy" && mv -f "$file.copy" "$file"
    done
}

# The build's prefix made and registered, its wineserver ended so that the registry is on disk (the
# build itself may have left a persistent one, running its tools through wine-run), and
# copied into the prefixes of display slots 1..count-1 that have none yet
# (brindle_copy_sharing_system_files); a copy's own setup brings its registrations up to date later.
brindle_wine_prepare_slots() { # count
  mkdir -p "$BRINDLE_BUILD_DIR"
  (
    flock 9
    _brindle_create_prefix || exit 1
    _brindle_register
    wineserver -k >/dev/null 2>&1 9>&- || true
    wineserver -w 9>&- || true
  ) 9>"$(_brindle_setup_lock)" || return 1
  local slot from="$WINEPREFIX" to
  for ((slot = 1; slot < $1; slot++)); do
    to="$BRINDLE_BUILD_DIR/wineprefix-$slot"
    [ -f "$to/.brindle-ready" ] && continue
    rm -rf "$to" "$to.partial"
    brindle_copy_sharing_system_files "$from" "$to.partial" || return 1
    rm -f "$to.partial/.brindle-desktop"
    mv "$to.partial" "$to"
  done
}
