#!/usr/bin/env bash
# The set-up of a build tree copied from another registers the copy's own rich-text control in the
# prefix that came along, over the registration of the tree it was copied from, which is still there:
# the registry, read back through Wine, names the copy's file. Arguments: the source tree and the
# build tree whose servers and prefix the trees start from.
set -euo pipefail
src="$1"
build="$2"
# Beside the build tree, on its file system: the copies link to its files.
work="$(mktemp -d "$build/copied-tree.XXXXXX")"
class='HKLM\Software\Classes\CLSID\{3B7C8860-D78F-101B-B9B5-04021C009402}\InprocServer32'

# Each tree's wineserver ends with the test, and so does every file of it.
end_trees() {
  local tree
  for tree in first copy; do
    [ -d "$work/$tree/wineprefix" ] || continue
    (BRINDLE_BUILD_DIR="$work/$tree" && source "$src/scripts/wine-env.sh" && wineserver -k >/dev/null 2>&1) || true
  done
  rm -rf "$work"
}
trap end_trees EXIT
unset DISPLAY

# A copy of a tree as cp -a makes it (each file with its times), but sharing Wine's system files with
# the original, as a display slot's prefix does: Wine never writes them in place.
copy_tree() { # from to
  cp -al "$1" "$2"
  find "$2" -type f ! \( -path '*/drive_c/windows/*' \
    -regex '.*\.\(dll\|exe\|drv\|sys\|ocx\|cpl\|acm\|ax\|tlb\|nls\|ttf\|fon\)' \) -print0 |
    while IFS= read -r -d '' file; do
      cp -p "$file" "$file.copy" && mv -f "$file.copy" "$file"
    done
}

# The first tree: the build's servers, and its prefix when it has one.
mkdir -p "$work/first/bin"
cp "$build"/bin/*.dll "$work/first/bin/"
if [ -f "$build/wineprefix/.brindle-ready" ]; then
  copy_tree "$build/wineprefix" "$work/first/wineprefix"
  rm -f "$work/first/wineprefix/.brindle-desktop"
fi

# Sets up a tree, ends its wineserver so that its registry is on disk, and prints what the registry
# names as the control's server.
set_up_and_read() { # tree
  (
    export BRINDLE_BUILD_DIR="$work/$1"
    source "$src/scripts/wine-env.sh"
    brindle_wine_setup
    wine reg query "$class" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w || true
  )
}

first="$(set_up_and_read first)"
want="$(cd "$work/first/bin" && pwd -P)"
want="Z:${want//\//\\}\\RichTextStandIn.dll"
if [ "${first,,}" != "${want,,}" ]; then
  echo "FAIL: the first tree registered '$first', not its own '$want'" >&2
  exit 1
fi

copy_tree "$work/first" "$work/copy"
copy="$(set_up_and_read copy)"
want="$(cd "$work/copy/bin" && pwd -P)"
want="Z:${want//\//\\}\\RichTextStandIn.dll"
if [ "${copy,,}" != "${want,,}" ]; then
  echo "FAIL: the copied tree's prefix names '$copy', not the copy's own '$want'" >&2
  exit 1
fi
echo "the copied tree's prefix names its own control: $copy"
