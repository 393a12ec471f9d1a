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

# A tree copied as cp -a copies it (each file with its times), sharing Wine's system files.
copy_tree() { # from to
  (source "$src/scripts/wine-env.sh" && brindle_copy_sharing_system_files "$1" "$2")
}

# Sets up a tree, ends its wineserver so that its registry is on disk, and fails unless the registry
# names the tree's own control as the class's server.
expect_own_control_after_set_up() { # tree
  local named want
  named="$(
    export BRINDLE_BUILD_DIR="$work/$1"
    source "$src/scripts/wine-env.sh"
    brindle_wine_setup
    wine reg query "$class" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w || true
  )"
  want="$(cd "$work/$1/bin" && pwd -P)"
  want="Z:${want//\//\\}\\RichTextStandIn.dll"
  if [ "${named,,}" != "${want,,}" ]; then
    echo "FAIL: after the set-up of the $1 tree the registry names '$named', not '$want'" >&2
    exit 1
  fi
}

# The first tree: the build's servers, and its prefix when it has one.
mkdir -p "$work/first/bin"
cp "$build"/bin/*.dll "$work/first/bin/"
if [ -f "$build/wineprefix/.brindle-ready" ]; then
  copy_tree "$build/wineprefix" "$work/first/wineprefix"
  rm -f "$work/first/wineprefix/.brindle-desktop"
fi
expect_own_control_after_set_up first

copy_tree "$work/first" "$work/copy"
expect_own_control_after_set_up copy
echo "the copied tree's prefix names its own control"
