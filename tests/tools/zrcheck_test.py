#!/usr/bin/python3
"""zrcheck as a pipeline uses it: exit statuses, the text report, the JSON report.

    zrcheck_test.py ZRCHECK EXAMPLES_DIR WORKDIR

Builds the example catalogue into WORKDIR, writes small drawings with ezdxf,
and checks zrcheck's answers on them and on the example drawing."""

import json
import os
import sqlite3
import subprocess
import sys

import ezdxf

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def run(*args):
    return subprocess.run([ZRCHECK, *args], capture_output=True, text=True, timeout=120)


def pin_drawing(path, pins, version="R2013"):
    """pins: (connector, code, identifier, x, y, layer)."""
    doc = ezdxf.new(version)
    doc.appids.new("ZR_PINO")
    block = doc.blocks.new("PIN-A")
    block.add_attdef("ID_PINO", (0, 0))
    msp = doc.modelspace()
    for name, code, ident, x, y, layer in pins:
        ref = msp.add_blockref("PIN-A", (x, y), dxfattribs={"layer": layer})
        ref.add_attrib("ID_PINO", ident, (x, y))
        ref.set_xdata("ZR_PINO", [(1000, name), (1000, code), (1000, "S")])
    doc.saveas(path)


# Codes a drawing may carry that a catalogue statement must survive.
HOSTILE = [
    "a;b;;DELETE FROM BDPINOS",
    "CM03M -- rest",
    "CM03M /* x */ */",
    '"BDPINOS"',
    "$$; DELETE FROM BDPINOS; $$",
    "%_*?[]",
    "Z" * 10000,
    "Conexão-Ñ",
    "连接器",
    "\U0001F50C\U0001F600",
    "\x01\x02\x1b[31m\x7f",
]
QUOTED = ["O'Brien", "\x1b[2J'; --", "X'; DROP TABLE BDPINOS; --", "X') OR 1=1; DELETE FROM BDCONTRAPECAS; /*",
          "Q" * 12000 + "'; DELETE FROM BDPINOS; --"]


def row_counts(path):
    with sqlite3.connect(f"file:{path}?mode=ro", uri=True) as db:
        tables = [r[0] for r in db.execute("SELECT name FROM sqlite_master WHERE type = 'table'")]
        return {t: db.execute(f'SELECT count(*) FROM "{t}"').fetchone()[0] for t in tables}


def hostile_codes(catalogue, work, clean):
    """Codes with statement syntax, long and non-ASCII texts and control
    characters: the check finishes, the report is valid JSON that gives every
    code back exactly, and the catalogue file stays byte for byte the same."""
    # The first statement that fails runs the catalogue's schema upgrade,
    # which adds empty tables to the file: after it, every table keeps its
    # rows; from then on the file does not change at all.
    before = row_counts(catalogue)
    first = os.path.join(work, "hostile-first.dxf")
    pin_drawing(first, [("Q0", QUOTED[0], "A", 10, 10, "ESQ")])
    r = run("--catalogue", catalogue, "--json", first)
    expect(r.returncode == 2 and json.loads(r.stdout)["connectors"][0]["code"] == QUOTED[0],
           f"first quoted code: exit {r.returncode}, {r.stdout[:200]}")
    after = row_counts(catalogue)
    expect(all(after.get(t) == n for t, n in before.items()), f"rows after the upgrade: {before} -> {after}")
    expect(all(n == 0 for t, n in after.items() if t not in before), f"new tables hold rows: {after}")
    with open(catalogue, "rb") as f:
        original = f.read()

    def unchanged(what):
        with open(catalogue, "rb") as f:
            expect(f.read() == original, f"{what}: the catalogue file changed")

    # Codes without quotes: every statement runs and finds nothing; exit 1.
    plain = os.path.join(work, "hostile-plain.dxf")
    pin_drawing(plain, [(f"H{i}", code, "A", 10 * i, 500, "ESQ") for i, code in enumerate(HOSTILE)] +
                [("X1", "CM03M", "A", 10, 10, "ESQ")])
    r = run("--catalogue", catalogue, "--json", plain)
    expect(r.returncode == 1, f"hostile codes: exit {r.returncode}, {r.stderr[:500]}")
    report = json.loads(r.stdout)
    codes = [c["code"] for c in report["connectors"]]
    expect(codes == HOSTILE + ["CM03M"], f"hostile codes come back exactly: {[c[:20] for c in codes]}")
    expect(all(c["pins"][0]["status"] == 2 for c in report["connectors"][:-1]), "hostile codes: pins unknown")
    expect(r.stderr == "", f"hostile codes: no statement failed, stderr {r.stderr[:500]}")
    unchanged("hostile codes")

    # A quote makes the pin rows statement fail: a box on standard error per
    # code, the report still printed, and exit 2 (the check lacked those rows).
    quoted = os.path.join(work, "hostile-quoted.dxf")
    pin_drawing(quoted, [(f"Q{i}", code, "A", 10 * i, 500, "ESQ") for i, code in enumerate(QUOTED)])
    r = run("--catalogue", catalogue, "--json", quoted)
    expect(r.returncode == 2, f"quoted codes: exit {r.returncode}")
    expect(r.stderr.count("SQL ERROR: ") == len(QUOTED), f"quoted codes: one box each, stderr {r.stderr[:800]}")
    expect("the catalogue failed during the check" in r.stderr, "quoted codes: the reason for exit 2")
    report = json.loads(r.stdout)
    expect([c["code"] for c in report["connectors"]] == QUOTED, "quoted codes come back exactly")
    unchanged("quoted codes")

    # A quoted code whose pin touches another: the mating parts statement
    # fails, which ends the check: null in the drawing's place, exit 2.
    touching = os.path.join(work, "hostile-touching.dxf")
    pin_drawing(touching, [("Q1", QUOTED[1], "A", 10, 10, "ESQ"), ("X2", "CM03F", "A", 10, 10, "ESQ")])
    r = run("--catalogue", catalogue, "--json", touching)
    expect(r.returncode == 2 and "hostile-touching.dxf: catalogue:" in r.stderr,
           f"touching: exit {r.returncode}, {r.stderr[:500]}")
    expect(json.loads(r.stdout) is None, f"touching: null report, got {r.stdout[:200]}")
    r = run("--catalogue", catalogue, "--json", clean, touching, plain)
    reports = json.loads(r.stdout)
    expect(r.returncode == 2 and len(reports) == 3 and reports[1] is None and reports[0] and reports[2],
           f"three drawings, the middle one failing: exit {r.returncode}, {[x is None for x in reports]}")
    missing = os.path.join(work, "no-such-drawing.dxf")
    reports = json.loads(run("--catalogue", catalogue, "--json", missing, clean).stdout)
    expect(reports[0] is None and reports[1]["summary"]["connectors"] == 2, "an unreadable drawing is null")
    unchanged("touching")

    # The text report for people writes control characters as escapes.
    r = run("--catalogue", catalogue, plain)
    expect("\x1b" not in r.stdout and "\x7f" not in r.stdout, "control characters reach the terminal")
    expect("\\x01\\x02\\x1B[31m\\x7F" in r.stdout, f"escaped control characters: {r.stdout[-600:]}")
    r = run("--catalogue", catalogue, quoted)
    expect("\x1b" not in r.stderr, "control characters in the box text")
    unchanged("text report")


def main():
    global ZRCHECK
    ZRCHECK, examples, work = sys.argv[1], sys.argv[2], sys.argv[3]
    os.makedirs(work, exist_ok=True)
    catalogue = os.path.join(work, "catalogo.db")
    subprocess.run(["bash", os.path.join(examples, "catalogue", "build-sqlite.sh"), catalogue], check=True,
                   capture_output=True)

    # A complete, mated pair: clean, exit 0.
    clean = os.path.join(work, "clean.dxf")
    pin_drawing(clean, [("X1", "CM03M", p, 10, 10 + i, "ESQ") for i, p in enumerate("ABC")] +
                [("X2", "CM03F", p, 10, 10 + i, "ESQ") for i, p in enumerate("ABC")])
    r = run("--catalogue", catalogue, "--json", clean)
    expect(r.returncode == 0, f"clean drawing: exit {r.returncode}, {r.stderr}")
    report = json.loads(r.stdout)
    expect([c["name"] for c in report["connectors"]] == ["X1", "X2"], f"clean: connectors {report['connectors']}")
    expect(report["names"] == ["X1", "X2"], f"clean: names {report['names']}")
    expect(report["summary"] == {"connectors": 2, "pins": 6, "errors": 0, "missing": 0},
           f"clean: summary {report['summary']}")
    first = report["connectors"][0]["pins"][0]
    expect(first["mate"] is not None and first["mate"]["connector"] == "X2" and first["mate"]["identifier"] == "A",
           f"clean: mate {first}")
    expect(set(first) == {"handle", "identifier", "pin", "status", "x", "y", "mate"}, f"pin fields {set(first)}")

    # Problems: exit 1, and the text report names them.
    problems = os.path.join(work, "problems.dxf")
    pin_drawing(problems, [("X1", "CM03M", "A", 10, 10, "ESQ"), ("X1", "CM03M", "9", 10, 12, "ESQ"),
                           ("X2", "AM02F", "1", 10, 10, "ZR_FREEZE")])
    r = run("--catalogue", catalogue, problems)
    expect(r.returncode == 1, f"problems: exit {r.returncode}, {r.stderr}")
    for words in ("X1 (CM03M", "pin 9", "not in the catalogue", "missing", "may not connect", "touches X2 pin 1",
                  "connectors: 2"):
        expect(words in r.stdout, f"problems: text report lacks {words!r}:\n{r.stdout}")
    r = run("--catalogue", catalogue, "--json", problems)
    report = json.loads(r.stdout)
    expect(report["names"] == ["X1"], f"problems: names leave out ZR_FREEZE, got {report['names']}")
    statuses = {p["identifier"]: p["status"] for p in report["connectors"][0]["pins"]}
    expect(statuses == {"A": 3, "9": 2, "B": 1, "C": 1}, f"problems: statuses {statuses}")
    expect(report["summary"] == {"connectors": 2, "pins": 6, "errors": 5, "missing": 3},
           f"problems: summary {report['summary']}")

    # Several drawings: an array in the order given.
    r = run("--catalogue", catalogue, "--json", clean, problems)
    reports = json.loads(r.stdout)
    expect(isinstance(reports, list) and len(reports) == 2, "two drawings give an array of two reports")
    expect(r.returncode == 1, f"two drawings: exit {r.returncode}")

    # The example drawing: every state.
    r = run("--catalogue", catalogue, "--json", os.path.join(examples, "drawing.dxf"))
    report = json.loads(r.stdout)
    states = {c["name"]: c["state"] for c in report["connectors"]}
    expect(states.get("X1") == 0 and states.get("X4") == 1 and states.get("X6") == 2 and states.get("X11") == 2,
           f"example: states {states}")
    expect("X7" not in report["names"] and "X12" not in report["names"] and "X1" in report["names"],
           f"example: names {report['names']}")

    # A different pin tag.
    tagged = os.path.join(work, "tagged.dxf")
    doc = ezdxf.new("R2000")
    doc.appids.new("ZR_PINO")
    doc.blocks.new("PIN-T").add_attdef("PINO", (0, 0))
    ref = doc.modelspace().add_blockref("PIN-T", (5, 5), dxfattribs={"layer": "ESQ"})
    ref.add_attrib("PINO", "A", (5, 5))
    ref.set_xdata("ZR_PINO", [(1000, "X1"), (1000, "CM03M"), (1000, "S")])
    doc.saveas(tagged)
    report = json.loads(run("--catalogue", catalogue, "--json", tagged).stdout)
    expect(report["connectors"] == [], "without --attr-tag the symbol has no pin attribute")
    report = json.loads(run("--catalogue", catalogue, "--attr-tag", "PINO", "--json", tagged).stdout)
    expect(len(report["connectors"]) == 1 and report["connectors"][0]["pins"][0]["status"] == 0,
           f"with --attr-tag PINO: {report['connectors']}")

    # Dangling references as other programs leave them (a dictionary entry of a
    # removed object, a BLOCK and an INSERT owned by handles never written):
    # the drawing is checked as the clean one.
    dangling = os.path.join(work, "dangling.dxf")
    text = open(clean, encoding="utf-8").read()
    root = ezdxf.readfile(clean).rootdict.dxf.handle
    at = text.index(f"\n  5\n{root}\n")
    entry = text.index("\n  3\n", at)
    text = text[:entry] + "\n  3\nREMOVIDO\n350\nFFFFF0" + text[entry:]
    block = text.index("\nBLOCK\n  5\n")
    owner = text.index("\n330\n", block)
    text = text[:owner] + "\n330\nFFFFF1\n" + text[text.index("\n", owner + 6) + 1:]
    insert = text.index("\nINSERT\n  5\n")
    owner = text.index("\n330\n", insert)
    text = text[:owner] + "\n330\nFFFFF2\n" + text[text.index("\n", owner + 6) + 1:]
    with open(dangling, "w", encoding="utf-8") as f:
        f.write(text)
    r = run("--catalogue", catalogue, "--json", dangling)
    expect(r.returncode == 0, f"dangling references: exit {r.returncode}, {r.stderr}")
    if r.returncode == 0:
        report = json.loads(r.stdout)
        expect(report["names"] == ["X1", "X2"] and report["summary"]["pins"] == 6,
               f"dangling references: {report['names']} {report['summary']}")

    # What cannot be checked: exit 2 with the reason.
    r = run("--catalogue", catalogue, os.path.join(work, "missing.dxf"))
    expect(r.returncode == 2 and "missing.dxf" in r.stderr, f"missing drawing: {r.returncode} {r.stderr}")
    broken = os.path.join(work, "broken.dxf")
    with open(broken, "w") as f:
        f.write("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1027\n  0\nENDSEC\n  0\nSECTION\n")
    r = run("--catalogue", catalogue, broken)
    expect(r.returncode == 2 and "broken.dxf:" in r.stderr, f"broken drawing: {r.returncode} {r.stderr}")
    r = run("--catalogue", os.path.join(work, "no-such.db"), clean)
    expect(r.returncode == 2 and "no-such.db" in r.stderr, f"missing catalogue: {r.returncode} {r.stderr}")
    r = run("--settings", work, "--program", "nobody", clean)
    expect(r.returncode == 2, f"no settings for the program: {r.returncode} {r.stderr}")
    r = run("--json")
    expect(r.returncode == 2 and "usage" in r.stderr, "no drawing: usage and exit 2")

    hostile_codes(catalogue, work, clean)

    for f in failures:
        print("FAIL:", f)
    print(f"zrcheck: {'all checks passed' if not failures else str(len(failures)) + ' failure(s)'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
