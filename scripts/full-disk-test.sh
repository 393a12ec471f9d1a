#!/usr/bin/env bash
# A conversion into a small file system that fills half-way: a tmpfs the test mounts, smaller than the
# converted PST. Every document the harness reports saved must be in the NSF, every other item must be
# reported as not converted (the folders not reached with their items, the rest of the folder where the
# disk filled as a run of items), no document may be outside its folder, and the harness must exit 1 saying
# that the disk is full, with the NSF's path. An NSF whose side file could not be folded into it for lack
# of room is whole only beside that file: copied alone it must hold everything, or the harness must have
# said that it stays with its side file, naming both; once the disk has room, opening it folds the side
# file in and a copy alone holds everything. Then a target on a read-only file system: refused with
# exit 2, saying that the file cannot be written, with its path. Where mounting is not allowed the
# test says so and passes without running.
#   scripts/full-disk-test.sh BUILD_DIR [ITEMS] [DISK_MB]
set -uo pipefail
build="$(cd "${1:?usage: full-disk-test.sh BUILD_DIR [ITEMS] [DISK_MB]}" && pwd)"
items="${2:-300}"
disk_mb="${3:-3}"
work="$(mktemp -d /tmp/brindle-full-disk.XXXXXX)"
disk="$work/disk"
mkdir -p "$disk"
if ! mount -t tmpfs -o "size=${disk_mb}m" tmpfs "$disk" 2>/dev/null; then
  echo "skipped: a small file system cannot be mounted here (needs root and mount rights)"
  rm -rf "$work"
  exit 0
fi
readonly_disk="$work/readonly"
mkdir -p "$readonly_disk"
trap 'umount "$disk" 2>/dev/null; umount "$readonly_disk" 2>/dev/null; rm -rf "$work"' EXIT

win() { echo "Z:${1//\//\\}"; }
# Twice the disk in attachments, so that it fills about half-way through.
"$build/wine-run" "$build/bin/pstbuild.exe" bulk "$items" "$(win "$work/in.pst")" \
  --attachment-bytes $((disk_mb * 2 * 1024 * 1024 / items)) --folders 3 >/dev/null || exit 1
"$build/wine-run" "$build/bin/convert-harness.exe" "$(win "$work/in.pst")" "$(win "$disk/out.nsf")" \
  >"$work/report" 2>"$work/errors"
code=$?
"$build/wine-run" "$build/bin/nsfdump.exe" counts "$(win "$disk/out.nsf")" >"$work/counts" 2>>"$work/errors"
dump=$?

# The NSF alone, as a user who moves it to free the disk takes it.
cp "$disk/out.nsf" "$work/alone.nsf"
"$build/wine-run" "$build/bin/nsfdump.exe" counts "$(win "$work/alone.nsf")" >"$work/alone-counts" 2>/dev/null
if ! cmp -s "$work/counts" "$work/alone-counts" &&
  ! grep -qF "only together with its side file $(win "$disk/out.nsf")-wal" "$work/errors"; then
  echo "full disk: the NSF alone lacks what its side file holds, and the harness did not say so:"
  cat "$work/errors"
  exit 1
fi
# Room again: opening the NSF folds its side file in.
mount -o remount,size=$((disk_mb * 4))m "$disk" || exit 1
"$build/wine-run" "$build/bin/nsfdump.exe" counts "$(win "$disk/out.nsf")" >/dev/null 2>&1
cp "$disk/out.nsf" "$work/alone.nsf"
"$build/wine-run" "$build/bin/nsfdump.exe" counts "$(win "$work/alone.nsf")" >"$work/alone-counts" 2>&1
if ! cmp -s "$work/counts" "$work/alone-counts"; then
  echo "full disk: with room on the disk again, the NSF alone still lacks what its side file held:"
  diff "$work/counts" "$work/alone-counts" | head -20
  exit 1
fi

mount -t tmpfs -o size=1m,ro tmpfs "$readonly_disk" || exit 1
"$build/wine-run" "$build/bin/convert-harness.exe" "$(win "$work/in.pst")" "$(win "$readonly_disk/out.nsf")" \
  >/dev/null 2>"$work/readonly-errors"
readonly_code=$?
if [ "$readonly_code" -ne 2 ] || ! grep -q "cannot be written" "$work/readonly-errors" ||
  ! grep -qiF "$(win "$readonly_disk/out.nsf")" "$work/readonly-errors"; then
  echo "read-only target: exit $readonly_code, not refused with its path:"
  cat "$work/readonly-errors"
  exit 1
fi

python3 - "$code" "$dump" "$work/report" "$work/errors" "$work/counts" "$(win "$disk/out.nsf")" <<'PY'
import sys
code, dump, report, errors, counts, nsf = int(sys.argv[1]), int(sys.argv[2]), *sys.argv[3:]
report = open(report, encoding="utf-8").read()
errors = open(errors, encoding="utf-8", errors="replace").read()
problems = []
if code != 1:
    problems.append("the harness ended with %d, not 1" % code)
if "disk is full" not in errors or nsf.lower() not in errors.lower():
    problems.append("no message naming the full disk and the NSF on stderr")
if dump != 0:
    problems.append("nsfdump could not read the NSF")
filed = {}
for line in open(counts, encoding="utf-8"):
    cells = line.rstrip("\n").split("\t")
    if len(cells) == 3:
        filed[cells[2]] = filed.get(cells[2], 0) + int(cells[0])
if filed.get("", 0):
    problems.append("%d documents are in no folder" % filed[""])
# What the report says was not saved, by Notes folder: single items, runs of items and whole folders,
# each with the items it stands for.
lost_items, lost_folders = {}, set()
reported = {}
for line in report.splitlines():
    cells = line.split("\t")
    if len(cells) == 5 and cells[0].isdigit():
        reported[cells[4]] = (int(cells[0]), int(cells[1]))
    elif cells[0] == "not converted":
        folder = "Outlook" + ("\\" + cells[2][:-1] if cells[2] else "")
        count = 0
        if cells[1] == "item":
            count = 1
        elif cells[1] in ("items", "folder"):
            if not cells[5].startswith("items ") or not cells[5][6:].isdigit():
                problems.append("%s: a %s entry without its items counted: %s" % (folder, cells[1], line))
                continue
            count = int(cells[5][6:])
            if cells[1] == "folder":
                lost_folders.add(folder)
        lost_items[folder] = lost_items.get(folder, 0) + count
total_items = sum(i for i, _ in reported.values())
total_saved = sum(d for _, d in reported.values())
if not 0 < total_saved < total_items:
    problems.append("the disk did not fill part-way: %d of %d saved" % (total_saved, total_items))
for folder, (items, documents) in reported.items():
    if filed.get(folder, 0) != documents:
        problems.append("%s: reported %d saved, the NSF holds %d" % (folder, documents, filed.get(folder, 0)))
    if documents + lost_items.get(folder, 0) != items:
        problems.append("%s: %d items, %d saved, %d reported lost" % (folder, items, documents, lost_items.get(folder, 0)))
    if folder in lost_folders and documents:
        problems.append("%s: counted as not converted whole, but %d of its items were saved" % (folder, documents))
for p in problems:
    print("full disk: " + p)
if problems:
    print(report[-3000:] + errors[-1000:])
    sys.exit(1)
print("full disk: %d of %d items saved before the disk filled; every other one reported (%d)" %
      (total_saved, total_items, sum(lost_items.values())))
PY
