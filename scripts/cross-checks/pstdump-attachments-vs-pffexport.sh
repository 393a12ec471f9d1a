#!/usr/bin/env bash
# Compares the attachment bytes our reader delivers (`pstdump attachments`: size and CRC-32 of every
# attachment with data, nested messages' included) with the files libpff's `pffexport` writes, for
# every fixture. Known, explained differences are listed per file below.
# Usage: pstdump-attachments-vs-pffexport.sh [native build dir]
set -uo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
native="${1:-$src/build-native}"
pstdump="$native/bin/pstdump"
fixtures="${BRINDLE_TESTDATA_UNIX:-$src/tests/data}/pst"
[ -x "$pstdump" ] || { echo "no $pstdump: build the native tools first"; exit 1; }
command -v pffexport >/dev/null || { echo "pffexport (pff-tools) is not installed"; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

exec /usr/bin/python3 - "$pstdump" "$fixtures" "$work" <<'PYTHON'
import os, subprocess, sys, zlib
from collections import Counter

pstdump, fixtures, work = sys.argv[1:4]

# file -> (Counter of "size\tcrc" only pstdump delivers, why)
KNOWN = {
    "aspose-password-reports.pst": (
        Counter({"27420\tb3a573d9": 1, "56832\te6d37d36": 1, "58368\te0fb296f": 1}),
        "three messages store their RTF uncompressed with a raw size larger than the data; libpff "
        "gives up on the body and pffexport then skips the message's attachments (pypff lists them)"),
    "ost-exchange-sample.ost": (
        Counter({"10642\tef2c4d31": 2}),
        "pffexport writes no attachments for meeting requests (two carry Invitation.pdf)"),
}


def theirs(path, name):
    target = os.path.join(work, name)
    subprocess.run(["pffexport", "-q", "-f", "all", "-t", target, path],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    found = Counter()
    for root, _, files in os.walk(target + ".export"):
        if os.path.basename(root) != "Attachments":
            continue
        for f in files:
            data = open(os.path.join(root, f), "rb").read()
            found["%d\t%08x" % (len(data), zlib.crc32(data) & 0xFFFFFFFF)] += 1
    return found


status = 0
names = sorted(n for n in os.listdir(fixtures) if n.endswith((".pst", ".ost")))
for name in names:
    path = os.path.join(fixtures, name)
    run = subprocess.run([pstdump, "attachments", path], capture_output=True)
    ours = Counter("\t".join(line.split("\t")[:2]) for line in run.stdout.decode("utf-8").splitlines())
    pff = theirs(path, name)
    known, why = KNOWN.get(name, (Counter(), ""))
    ok = run.returncode == 0 and pff - ours == Counter() and ours - pff == known
    print("%-34s %s (%d attachments%s)" % (name, "ok" if ok else "DIFFERS", sum(ours.values()),
                                           ", known difference: " + why if why and ok else ""))
    if not ok:
        status = 1
        if run.returncode != 0:
            print("  pstdump exit %d: %s" % (run.returncode, run.stderr.decode("utf-8", "replace").strip()))
        for item in sorted((pff - ours).elements()):
            print("  only pffexport: " + item)
        for item in sorted(((ours - pff) - known).elements()):
            print("  only pstdump:   " + item)
print("pstdump vs pffexport attachments: %d files, %s" % (len(names), "all agree" if status == 0 else "DIFFERENCES"))
sys.exit(status)
PYTHON
