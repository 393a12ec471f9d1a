#!/usr/bin/env bash
# A new NSF on a disk that fills while the NSF is made from the template, while its first documents are
# written, or while its side file is folded in: the three-item fixture through the harness into a tmpfs
# of each size of a sweep, mounted for the run. At every size the harness must end with 0, 1 or 2 (never
# a crash), and when it did not finish it must say that the disk is full, with the NSF's path. What it
# leaves on the disk: nothing, or an NSF (with its side files, only when it said it holds its documents
# only together with its side file) that opens elsewhere and holds the documents the harness reported;
# never a file that is being built, a journal, or side files without their NSF. Where mounting is not
# allowed the test says so and passes without running.
#   scripts/new-nsf-full-disk-test.sh BUILD_DIR [SIZE_KB...]
set -uo pipefail
build="$(cd "${1:?usage: new-nsf-full-disk-test.sh BUILD_DIR [SIZE_KB...]}" && pwd)"
shift
src="$(cd "$(dirname "$0")/.." && pwd)"
# Every 8 KB where the making of the NSF and its first documents fail, then larger steps up to the sizes
# where the conversion completes.
if [ $# -gt 0 ]; then sizes=("$@"); else mapfile -t sizes < <(seq 64 8 400; seq 512 128 2048); fi
work="$(mktemp -d /tmp/brindle-new-nsf-full-disk.XXXXXX)"
disk="$work/disk"
mkdir -p "$disk" "$work/elsewhere"
if ! mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null; then
  echo "skipped: a small file system cannot be mounted here (needs root and mount rights)"
  rm -rf "$work"
  exit 0
fi
umount "$disk"
trap 'umount "$disk" 2>/dev/null; rm -rf "$work"' EXIT

win() { echo "Z:${1//\//\\}"; }
pst="$(win "$src/tests/data/pst/hht-three-items.pst")"
nsf="$(win "$disk/out.nsf")"
failures=0
for kb in "${sizes[@]}"; do
  mount -t tmpfs -o "size=${kb}k" tmpfs "$disk" || exit 1
  "$build/wine-run" "$build/bin/convert-harness.exe" "$pst" "$nsf" >"$work/report" 2>"$work/errors"
  code=$?
  left="$(cd "$disk" && find . -mindepth 1 -printf '%P(%s) ' | sort)"
  problems=()
  if [ "$code" -gt 2 ]; then problems+=("the harness ended with $code"); fi
  if grep -qi 'unhandled\|ended by exception' "$work/errors"; then problems+=("the harness crashed"); fi
  if [ "$code" -ne 0 ] && { ! grep -qi 'disk is full' "$work/errors" || ! grep -qiF "$nsf" "$work/errors"; }; then
    problems+=("it did not finish and did not say that the disk is full, with the NSF's path")
  fi
  for file in "$disk"/* "$disk"/.[!.]*; do
    [ -e "$file" ] || continue
    case "${file##*/}" in
      out.nsf) ;;
      out.nsf-wal | out.nsf-shm) [ -e "$disk/out.nsf" ] || problems+=("${file##*/} is left without its NSF") ;;
      *) problems+=("${file##*/} is left behind") ;;
    esac
  done
  if [ -s "$disk/out.nsf-wal" ] && ! grep -qF "only together with its side file $nsf-wal" "$work/errors"; then
    problems+=("the NSF's side file holds documents, and the harness did not say so")
  fi
  if [ "$code" -eq 2 ] && [ -e "$disk/out.nsf" ]; then problems+=("an NSF that did not open is left"); fi
  if [ -e "$disk/out.nsf" ]; then
    # The NSF with its side file, as a user who moves both takes them, read where there is room.
    rm -f "$work/elsewhere/"*
    cp "$disk/out.nsf" "$work/elsewhere/out.nsf"
    [ ! -e "$disk/out.nsf-wal" ] || cp "$disk/out.nsf-wal" "$work/elsewhere/out.nsf-wal"
    if ! counts="$("$build/wine-run" "$build/bin/nsfdump.exe" counts "$(win "$work/elsewhere/out.nsf")" 2>&1)"; then
      problems+=("the NSF does not open: $counts")
    else
      held="$(printf '%s\n' "$counts" | awk -F'\t' 'NF == 3 { n += $1 } END { print n + 0 }')"
      saved="$(awk -F'\t' 'NF == 5 && $1 ~ /^[0-9]+$/ { n += $2 } END { print n + 0 }' "$work/report")"
      [ "$held" -eq "$saved" ] || problems+=("the harness reported $saved documents saved, the NSF holds $held")
    fi
  fi
  said="$(tr '\n' ' ' <"$work/errors")"
  said="${said//"$(win "$disk")"/<disk>}"
  echo "${kb} KB: exit $code${said:+: ${said:0:200}}; left: ${left:-nothing}"
  for problem in "${problems[@]}"; do
    echo "  ${kb} KB: $problem"
    failures=$((failures + 1))
  done
  umount "$disk" || exit 1
done
if [ "$failures" -ne 0 ]; then
  echo "new NSF on a full disk: $failures problem(s)"
  exit 1
fi
echo "new NSF on a full disk: ${#sizes[@]} sizes, each said so or finished, nothing half made left"
