#!/usr/bin/env python3
"""Damaged copies of the fixture PSTs, made from a seed, and what the reader and the conversion do
with them.

Each variant is one fixture with one kind of damage: bits flipped, a 512-byte page zeroed, the file
cut short, or two 64-byte blocks swapped. The same seed always gives the same variants.

  damage-corpus.py reader  --pstdump PATH [--count N] [--seed S]
      The native reader (pstdump counts and walk) on every variant: it must end by itself within the
      time limit, under the memory cap, with exit 0 or 1 and never a signal.
  damage-corpus.py harness --build DIR [--count N] [--seed S] [--shard K/M]
      The conversion (convert-harness under Wine) on every variant: it must be refused with exit 2,
      or exit 1 naming what was lost, or exit 0 with, for every folder it lists, at least as many
      documents as the undamaged file gives that folder. A harness that Wine did not start is started
      again and named; one that started and ended before its end (killed, crashed) is a failure named
      as such. Either way the exit code and what wine-run and Wine said are printed, and neither is
      taken for a verdict on the PST.

--shard K/M takes only the variants of every M-th fixture, from the K-th (0-based), so that M runs
side by side cover the corpus once, each fixture's undamaged conversion done by one of them only.

Exit 0 when every variant passed; the ones that did not are printed with how to make them again
(fixture, kind, seed and index).
"""
import argparse
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.normpath(os.path.join(HERE, "..", "tests", "data", "pst"))
KINDS = ("flip", "zero-page", "truncate", "swap")
MEMORY_CAP = 1 << 30  # bytes of address space for one reader run
TIME_LIMIT = 60  # seconds for one run


def fixtures():
    root = os.environ.get("BRINDLE_TESTDATA_UNIX")
    folder = os.path.join(root, "pst") if root else FIXTURES
    try:
        names = os.listdir(folder)
    except OSError as error:
        sys.exit(f"damage-corpus: the fixtures cannot be read: {folder}: {error.strerror}")
    found = sorted(os.path.join(folder, name) for name in names if name.endswith((".pst", ".ost")))
    if not found:
        sys.exit(f"damage-corpus: no .pst or .ost fixture in {folder}")
    return found


def damage(data, kind, rng):
    """One damaged copy of data. The header (first 512 bytes) is left whole except by truncation, so
    that most variants reach the structures behind it."""
    out = bytearray(data)
    size = len(out)
    if kind == "flip":
        for _ in range(rng.randint(1, 8)):
            at = rng.randrange(512, size)
            out[at] ^= 1 << rng.randrange(8)
    elif kind == "zero-page":
        page = rng.randrange(1, size // 512)
        out[page * 512:(page + 1) * 512] = bytes(512)
    elif kind == "truncate":
        out = out[:rng.randrange(600, size)]
    elif kind == "swap":
        blocks = size // 64
        a, b = rng.randrange(8, blocks), rng.randrange(8, blocks)
        out[a * 64:(a + 1) * 64], out[b * 64:(b + 1) * 64] = data[b * 64:(b + 1) * 64], data[a * 64:(a + 1) * 64]
    return bytes(out)


def variants(count, seed, shard=(0, 1)):
    """(index, name, fixture, kind, bytes) for the variants of one shard of count variants, spread over
    the fixtures and kinds."""
    files = fixtures()
    contents = {}
    for index in range(count):
        if (index % len(files)) % shard[1] != shard[0]:
            continue
        rng = random.Random(seed * 1000003 + index)
        fixture = files[index % len(files)]
        kind = KINDS[(index // len(files)) % len(KINDS)]
        if fixture not in contents:
            with open(fixture, "rb") as f:
                contents[fixture] = f.read()
        name = "%s.%s.%d.%d%s" % (os.path.basename(fixture)[:-4], kind, seed, index, fixture[-4:])
        yield index, name, fixture, kind, damage(contents[fixture], kind, rng)


def capped():
    resource.setrlimit(resource.RLIMIT_AS, (MEMORY_CAP, MEMORY_CAP))


def run_reader(args):
    failures = 0
    runs = 0
    with tempfile.TemporaryDirectory(prefix="damage-") as work:
        path = os.path.join(work, "variant.pst")
        for _, name, _, _, data in variants(args.count, args.seed, args.shard):
            runs += 1
            with open(path, "wb") as f:
                f.write(data)
            for command in ("counts", "walk"):
                try:
                    done = subprocess.run([args.pstdump, command, path], stdout=subprocess.DEVNULL,
                                          stderr=subprocess.PIPE, timeout=TIME_LIMIT, preexec_fn=capped)
                except subprocess.TimeoutExpired:
                    print("%s: pstdump %s did not end within %d s" % (name, command, TIME_LIMIT))
                    failures += 1
                    continue
                if done.returncode not in (0, 1):
                    print("%s: pstdump %s ended with %d: %s" % (name, command, done.returncode,
                                                                done.stderr.decode(errors="replace")[-300:]))
                    failures += 1
    print("%d passed, %d failed" % (runs - failures, failures))
    return 1 if failures else 0


def harness_rows(output):
    """Documents per Notes folder from the harness's folder lines."""
    rows = {}
    for line in output.splitlines():
        cells = line.split("\t")
        if len(cells) == 5 and cells[0].isdigit() and cells[1].isdigit():
            rows[cells[4]] = int(cells[1])
    return rows


# Lines of standard error that Wine and the wine-run wrapper write, not the harness: Wine's debug
# channels ("0123:err:virtual:..."), its loader and server ("wine: ...", "wine client error: ...") and
# the wrapper and its set-up ("wine-run: ...", "wine-env: ...").
WINE_LINE = re.compile(r"^([0-9a-f]{4,8}:(err|warn|fixme|trace):|wine(-run|-env|server)?: |wine client error)")
START_TRIES = 3  # starts of one run, when Wine does not start the harness


class HarnessRun:
    """One conversion by the harness: its exit code (None when it did not end in time), its standard
    output and error, what wine-run and Wine said, and how far it came: "ended" (back at its end),
    "ended early" (started, never back: killed or crashed) or "not started" (Wine did not start it)."""

    def __init__(self, code, out, err, wine, state):
        self.code, self.out, self.err, self.wine, self.state = code, out, err, wine, state

    def said(self):
        """What wine-run and Wine said, and the exit code, for a run that gave no verdict."""
        text = "\n".join(self.wine[-20:])
        return "exit %s; wine-run and Wine said %s" % (self.code, (":\n" + text) if text else "nothing")


def run_harness(args):
    build = os.path.abspath(args.build)
    wine_run = os.path.join(build, "wine-run")
    harness = os.path.join(build, "bin", "convert-harness.exe")
    notes = []

    def windows(path):
        return "Z:" + path.replace("/", "\\")

    def convert(pst, nsf, marker):
        """The harness on pst into nsf; started again when Wine did not start it. Wine's errors are
        asked for, apart from the harness's own, so that a run that gives nothing can say why."""
        env = dict(os.environ, BRINDLE_WINEDEBUG="-all,err+all", BRINDLE_HARNESS_STARTED=windows(marker))
        for attempt in range(1, START_TRIES + 1):
            if os.path.exists(marker):
                os.remove(marker)
            # In a process group of its own, so that a harness that outlives the time limit ends with its
            # wrapper instead of running on beside the rest of the suite.
            done = subprocess.Popen([wine_run, harness, windows(pst), windows(nsf)], stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, env=env, start_new_session=True)
            try:
                out, errors = done.communicate(timeout=args.time_limit)
            except subprocess.TimeoutExpired:
                os.killpg(done.pid, signal.SIGKILL)
                done.communicate()
                return HarnessRun(None, "", "", [], "ended early")
            lines = errors.decode("utf-8", "replace").splitlines(keepends=True)
            wine = [line.rstrip("\n") for line in lines if WINE_LINE.match(line)]
            err = "".join(line for line in lines if not WINE_LINE.match(line))
            try:
                with open(marker) as f:
                    state = "ended" if f.read().strip() == "ended" else "ended early"
            except OSError:
                state = "not started"
            run = HarnessRun(done.returncode, out.decode("utf-8", "replace"), err, wine, state)
            if state != "not started":
                return run
            if attempt < START_TRIES:
                notes.append("%s: convert-harness did not start (%s); started again" % (os.path.basename(pst),
                                                                                       run.said()))
                # Whatever kept Wine from starting it (its wineserver going down) takes a moment to pass.
                time.sleep(attempt)
        return run

    failures = 0
    runs = 0
    baselines = {}
    with tempfile.TemporaryDirectory(prefix="damage-") as work:
        marker = os.path.join(work, "started")
        for index, name, fixture, kind, data in variants(args.count, args.seed, args.shard):
            runs += 1
            if fixture not in baselines:
                run = convert(fixture, os.path.join(work, "baseline-%d.nsf" % len(baselines)), marker)
                baselines[fixture] = harness_rows(run.out)
                if run.state != "ended" or not baselines[fixture]:
                    failures += 1
                    print("%s, undamaged: no report to compare with (%s, %s)" % (os.path.basename(fixture), run.state,
                                                                                 run.said()))
            pst = os.path.join(work, name)
            nsf = os.path.join(work, "v%d.nsf" % index)
            with open(pst, "wb") as f:
                f.write(data)
            run = convert(pst, nsf, marker)
            code, out, err = run.code, run.out, run.err
            problem = None
            if code is None:
                problem = "did not end within %d s" % args.time_limit
            elif run.state == "not started":
                problem = "convert-harness did not start in %d tries (%s)" % (START_TRIES, run.said())
            elif run.state == "ended early":
                problem = "convert-harness ended before its end, without a verdict (%s)" % run.said()
            elif code == 2:
                if not err.strip():
                    problem = "refused without a reason"
            elif code == 1:
                if not any(line and not line[0].isdigit() for line in out.splitlines()) and not err.strip():
                    problem = "exit 1 without naming what was lost"
            elif code == 0:
                if not harness_rows(out):
                    problem = "exit 0 without a folder line"
                baseline = baselines[fixture]
                for folder, documents in harness_rows(out).items():
                    if folder in baseline and documents < baseline[folder]:
                        problem = "exit 0 with %d of the %d documents of %s" % (documents, baseline[folder], folder)
                        break
            else:
                problem = "ended with %d (%s)" % (code, run.said())
            if problem:
                failures += 1
                print("%s (%s, seed %d, index %d): %s\n%s%s" % (name, kind, args.seed, index, problem, out[-2000:],
                                                                err[-500:]))
            for leftover in (pst, nsf, nsf + "-wal", nsf + "-shm"):
                if os.path.exists(leftover):
                    os.remove(leftover)
    for note in notes:
        print(note)
    print("%d passed, %d failed" % (runs - failures, failures))
    return 1 if failures else 0


def shard(text):
    part, _, parts = text.partition("/")
    try:
        k, m = int(part), int(parts)
    except ValueError:
        raise argparse.ArgumentTypeError("a shard is K/M, as in 0/4")
    if m < 1 or not 0 <= k < m:
        raise argparse.ArgumentTypeError("a shard K/M needs 0 <= K < M")
    return k, m


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("mode", choices=("reader", "harness"))
    parser.add_argument("--pstdump")
    parser.add_argument("--build")
    parser.add_argument("--count", type=int, default=3000)
    parser.add_argument("--seed", type=int, default=34)
    parser.add_argument("--time-limit", type=int, default=120)
    parser.add_argument("--shard", type=shard, default=(0, 1))
    args = parser.parse_args()
    if args.mode == "reader":
        if not args.pstdump:
            parser.error("reader needs --pstdump")
        return run_reader(args)
    if not args.build:
        parser.error("harness needs --build")
    return run_harness(args)


if __name__ == "__main__":
    sys.exit(main())
