#!/usr/bin/env bash
# Compares `pstdump counts` (our reader) with libpff's view of every fixture PST (through Debian's
# python3-pypff): one line per folder and message class of normal messages. Known, explained
# differences are listed per file below. Usage: pstdump-vs-libpff.sh [native build dir]
set -uo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
native="${1:-$src/build-native}"
pstdump="$native/bin/pstdump"
fixtures="${BRINDLE_TESTDATA_UNIX:-$src/tests/data}/pst"
[ -x "$pstdump" ] || { echo "no $pstdump: build the native tools first"; exit 1; }
/usr/bin/python3 -c "import pypff" 2>/dev/null || { echo "python3-pypff is not installed"; exit 1; }

exec /usr/bin/python3 - "$pstdump" "$fixtures" <<'PYTHON'
import os, subprocess, sys
from collections import Counter
import pypff

pstdump, fixtures = sys.argv[1], sys.argv[2]

# ANSI files whose 8-bit strings are in code page 932 with no property saying so.
CODEPAGE_932 = {"hht-ansi-cp932.pst", "hht-contacts-ansi.pst"}

# file -> (lines only libpff prints, lines only pstdump prints, why)
KNOWN = {
    "aspose-readers-disagree.pst": (
        {"12\t<unreadable>\tTop of Personal Folders/Contacts",
         "9\tIPM.Contact\tTop of Personal Folders/Contacts"},
        {"21\tIPM.Contact\tTop of Personal Folders/Contacts"},
        "libpff stops at a PT_UNSPECIFIED property in 12 contacts; those contacts are sound "
        "IPM.Contact items (libpst agrees)"),
}


def message_class(message):
    for s in range(message.number_of_record_sets):
        record_set = message.get_record_set(s)
        for e in range(record_set.number_of_entries):
            entry = record_set.get_entry(e)
            if entry.entry_type == 0x001A:
                return entry.get_data_as_string()
    return "<unreadable>"


def libpff_counts(path, codepage):
    pst = pypff.file()
    if codepage:
        pst.set_ascii_codepage(codepage)
    pst.open(path)
    counts = Counter()

    def walk(folder, folder_path):
        for i in range(folder.number_of_sub_messages):
            try:
                cls = message_class(folder.get_sub_message(i))
            except (IOError, OSError):
                cls = "<unreadable>"
            counts[(folder_path, cls)] += 1
        for i in range(folder.number_of_sub_folders):
            sub = folder.get_sub_folder(i)
            name = sub.get_name() or ""
            walk(sub, folder_path + "/" + name if folder_path else name)

    walk(pst.get_root_folder(), "")
    pst.close()
    return {"%d\t%s\t%s" % (n, cls, folder) for (folder, cls), n in counts.items()}


status = 0
names = sorted(n for n in os.listdir(fixtures) if n.endswith((".pst", ".ost")))
for name in names:
    path = os.path.join(fixtures, name)
    args = [pstdump] + (["--codepage", "932"] if name in CODEPAGE_932 else []) + ["counts", path]
    run = subprocess.run(args, capture_output=True)
    ours = set(run.stdout.decode("utf-8").splitlines())
    theirs = libpff_counts(path, "windows-932" if name in CODEPAGE_932 else None)
    only_theirs, only_ours = theirs - ours, ours - theirs
    known_theirs, known_ours, why = KNOWN.get(name, (set(), set(), ""))
    ok = run.returncode == 0 and only_theirs == known_theirs and only_ours == known_ours
    print("%-34s %s (%d lines%s)" % (name, "ok" if ok else "DIFFERS", len(ours),
                                      ", known difference: " + why if why and ok else ""))
    if not ok:
        status = 1
        if run.returncode != 0:
            print("  pstdump exit %d: %s" % (run.returncode, run.stderr.decode("utf-8", "replace").strip()))
        for line in sorted(only_theirs - known_theirs):
            print("  only libpff:  " + line)
        for line in sorted(only_ours - known_ours):
            print("  only pstdump: " + line)
        for line in sorted(known_theirs - only_theirs):
            print("  expected libpff line missing: " + line)
        for line in sorted(known_ours - only_ours):
            print("  expected pstdump line missing: " + line)
print("pstdump vs libpff: %d files, %s" % (len(names), "all agree" if status == 0 else "DIFFERENCES"))
sys.exit(status)
PYTHON
