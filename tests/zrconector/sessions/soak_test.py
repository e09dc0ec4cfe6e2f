#!/usr/bin/python3
"""A soak of one long zrhost session: 200 copies of the example drawing are
opened and closed (four open at once) and each of the module's three drawing
queries runs 1,000 times on them; one more copy stays open throughout and
takes another 1,000 calls of each. The run must end cleanly (no sanitizer
report: the leak checker runs at exit), hold the same number of open files
from the first round to the last, and keep its memory flat.

The catalogue: "file" (the default) is the example file catalogue; "server"
the throwaway PostgreSQL server of the test run (ZR_TEST_PG; without it the
test is skipped); with "missing" the settings name a catalogue file that
does not exist: every query fails, answers nil and says so in a message box,
and the same bounds hold for the failing session.

    soak_test.py ZRHOST MODULE EXAMPLES_DIR WORKDIR SOAK_SCRIPT [file|server|missing]"""

import hashlib
import os
import sys
import time

import session_harness as harness

SKIPPED = 77  # the test's SKIP_RETURN_CODE

DOCUMENTS = 200
ROUNDS = 10          # the first is the warm-up
BATCH = 4            # documents open at once
CALLS_PER_DOCUMENT = 5
RESIDENT_CALLS_PER_BATCH = 20  # 50 batches: 1,000 calls on the resident

# ASan keeps freed blocks in a quarantine (256 MB by default) to catch use
# after free; while it fills, the resident set climbs although nothing is
# kept. A small quarantine lets the figures show what the program keeps.
ASAN = {"quarantine_size_mb": "8", "thread_local_quarantine_size_kb": "256"}

# Resident growth allowed from the end of the warm-up round to the end of the
# last, after two collections. The Scheme heap, the allocator's caches and
# the ASan quarantine settle during the warm-up; after it the resident set
# moves by about a megabyte either way. Keeping every closed document (a
# fault tried on purpose) adds about 17 MB over the 180 documents after the
# warm-up, twice the bound; so does anything above 2 kB kept per query call
# (4,500 calls of the three queries after the warm-up). Smaller leaks of
# unreachable memory are the leak checker's.
RSS_GROWTH_BOUND_KB = 8 * 1024


def soak_expressions(drawings, work, catalogue):
    paths = " ".join(harness.scheme_string(p) for p in drawings)
    return (f"(define soak-drawings (list {paths})) (define soak-rounds {ROUNDS}) "
            f"(define soak-batch {BATCH}) (define soak-calls {CALLS_PER_DOCUMENT}) "
            f"(define soak-resident-calls {RESIDENT_CALLS_PER_BATCH}) "
            f"(define soak-folder {harness.scheme_string(work)}) "
            f"(define soak-catalogue {'#t' if catalogue else '#f'})")


def add_special_drawings(work, drawing):
    """resident.dxf: one more copy; truncated.dxf: the drawing cut off in its
    middle; broken.dxf: entities without a header."""
    with open(drawing, "rb") as f:
        text = f.read()
    with open(os.path.join(work, "resident.dxf"), "wb") as f:
        f.write(text)
    with open(os.path.join(work, "truncated.dxf"), "wb") as f:
        f.write(text[:len(text) // 2])
    with open(os.path.join(work, "broken.dxf"), "w") as f:
        f.write("0\nSECTION\n2\nENTITIES\n0\nINSERT\n")


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def folder_problems(work, drawings, catalogue_before):
    """The session writes only saved.dxf: no temporary file of a save is left,
    the copies and the catalogue are as they were."""
    problems = []
    expected = {"catalogo.db", "zrsoak.ini", "resident.dxf", "truncated.dxf", "broken.dxf", "saved.dxf"}
    expected.update(os.path.basename(p) for p in drawings)
    left = sorted(set(os.listdir(work)) - expected)
    if left:
        problems.append(f"files left in the folder: {left}")
    if "saved.dxf" not in os.listdir(work):
        problems.append("no drawing was saved")
    if digest(os.path.join(work, "catalogo.db")) != catalogue_before:
        problems.append("the catalogue changed")
    if len({digest(p) for p in drawings + [os.path.join(work, "resident.dxf")]}) != 1:
        problems.append("a copy of the drawing changed")
    return problems


def main():
    zrhost, module, examples, work, script = sys.argv[1:6]
    kind = sys.argv[6] if len(sys.argv) > 6 else "file"
    if kind == "server":
        if not os.environ.get("ZR_TEST_PG"):
            print("no catalogue server (ZR_TEST_PG is not set): skipped")
            return SKIPPED
        settings = harness.server_settings(os.environ["ZR_TEST_PG"])
    else:
        settings = harness.file_settings(work, "missing.db" if kind == "missing" else "catalogo.db")
    catalogue_there = kind != "missing"
    drawings = harness.prepare_folder(examples, work, DOCUMENTS, settings)
    add_special_drawings(work, drawings[0])
    catalogue = digest(os.path.join(work, "catalogo.db"))
    started = time.monotonic()
    run = harness.run_zrhost(zrhost, ["--module", module, "--load", os.path.join(examples, "suite.scm"),
                                      "--eval", soak_expressions(drawings, work, catalogue_there), "--script", script],
                             work, ASAN, timeout=600)
    elapsed = time.monotonic() - started
    # Without the catalogue every call prints a message box: show the figures.
    print(run.stdout if catalogue_there else "\n".join(l for l in run.stdout.splitlines() if l.startswith("soak:")))
    print(run.stderr, file=sys.stderr)
    print(f"soak: {elapsed:.1f} s for {DOCUMENTS} documents")

    problems = harness.sanitizer_problems(run) + folder_problems(work, drawings, catalogue)
    batches = DOCUMENTS // BATCH
    done = (f"soak: done documents {DOCUMENTS} calls {DOCUMENTS * CALLS_PER_DOCUMENT} "
            f"resident-calls {batches * RESIDENT_CALLS_PER_BATCH}")
    if done not in run.stdout:
        problems.append(f"the soak did not finish ({done!r} missing)")
    rounds = harness.figures(run.stdout)
    if len(rounds) != ROUNDS + 1:
        problems.append(f"{len(rounds)} lines of figures, expected {ROUNDS + 1}")
    else:
        warm, last = rounds[1], rounds[-1]
        growth = last["rss_kb"] - warm["rss_kb"]
        print(f"soak: resident {warm['rss_kb']} kB after the warm-up round, {last['rss_kb']} kB after the "
              f"last ({growth:+d} kB, bound {RSS_GROWTH_BOUND_KB} kB); peak {last['peak_kb']} kB")
        print("soak: open files by round " + " ".join(str(r["open_files"]) for r in rounds))
        if growth >= RSS_GROWTH_BOUND_KB:
            problems.append(f"resident memory grew by {growth} kB after the warm-up")
        grown = [r for r in rounds[2:] if r["open_files"] != warm["open_files"]]
        if grown:
            problems.append(f"open files changed after the warm-up: round {grown[0]['round']} holds "
                            f"{grown[0]['open_files']}, the warm-up {warm['open_files']}")
    for problem in problems:
        print("FAILED: " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
