#!/usr/bin/python3
"""zrcheck as a pipeline uses it: exit statuses, the text report, the JSON report.

    zrcheck_test.py ZRCHECK EXAMPLES_DIR WORKDIR

Builds the example catalogue into WORKDIR, writes small drawings with ezdxf,
and checks zrcheck's answers on them and on the example drawing."""

import hashlib
import json
import os
import shutil
import sqlite3
import subprocess
import sys

import ezdxf

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tool_check import expect, failures, runner, valid_document  # noqa: E402

run = None  # zrcheck with its output captured, set by main


def document_of(result):
    """zrcheck's JSON document, checked against the schema kept in the repository."""
    return valid_document(result, "the report")


def drawing_of(result, index=0):
    """The report of one drawing in zrcheck's JSON document."""
    return document_of(result)["drawings"][index]


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


def hostile_codes(catalogue, work, clean):
    """Codes with statement syntax, long and non-ASCII texts and control
    characters: the check finishes, the report is valid JSON that gives every
    code back exactly, and the catalogue file stays byte for byte the same."""
    # zrcheck never changes the catalogue: not even the first failed statement
    # upgrades its schema (the host would), and it is opened read-only.
    with open(catalogue, "rb") as f:
        original = f.read()

    def unchanged(what):
        with open(catalogue, "rb") as f:
            expect(f.read() == original, f"{what}: the catalogue file changed")

    first = os.path.join(work, "hostile-first.dxf")
    pin_drawing(first, [("Q0", QUOTED[0], "A", 10, 10, "ESQ")])
    r = run("--catalogue", catalogue, "--json", first)
    expect(r.returncode == 2 and drawing_of(r)["connectors"][0]["code"] == QUOTED[0],
           f"first quoted code: exit {r.returncode}, {r.stdout[:200]}")
    unchanged("the first failed statement")

    # Codes without quotes: every statement runs and finds nothing; exit 1.
    plain = os.path.join(work, "hostile-plain.dxf")
    pin_drawing(plain, [(f"H{i}", code, "A", 10 * i, 500, "ESQ") for i, code in enumerate(HOSTILE)] +
                [("X1", "CM03M", "A", 10, 10, "ESQ")])
    r = run("--catalogue", catalogue, "--json", plain)
    expect(r.returncode == 1, f"hostile codes: exit {r.returncode}, {r.stderr[:500]}")
    report = drawing_of(r)
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
    report = drawing_of(r)
    expect([c["code"] for c in report["connectors"]] == QUOTED, "quoted codes come back exactly")
    unchanged("quoted codes")
    # A run asks each code once, whatever the number of drawings and threads,
    # and judges every drawing that needed a failed answer, and only those.
    for jobs in ("1", "3"):
        r = run("--catalogue", catalogue, "--json", "-j", jobs, quoted, clean, quoted)
        drawings = document_of(r)["drawings"]
        expect(r.returncode == 2 and len(drawings) == 3, f"-j {jobs}, quoted twice: exit {r.returncode}")
        expect(r.stderr.count("SQL ERROR: ") == len(QUOTED), f"-j {jobs}: one box a code for the run, {r.stderr[:800]}")
        expect(r.stderr.count("hostile-quoted.dxf: the catalogue failed during the check") == 2 and
               f"{os.path.basename(clean)}: the catalogue failed" not in r.stderr,
               f"-j {jobs}: both quoted drawings failed, the clean one not: {r.stderr[-600:]}")
        expect(drawings[1]["outcome"]["failed"] is False, f"-j {jobs}: the clean drawing passes")

    # A quoted code whose pin touches another: the mating parts statement
    # fails, which ends the check: the drawing's error says so, exit 2.
    touching = os.path.join(work, "hostile-touching.dxf")
    pin_drawing(touching, [("Q1", QUOTED[1], "A", 10, 10, "ESQ"), ("X2", "CM03F", "A", 10, 10, "ESQ")])
    r = run("--catalogue", catalogue, "--json", touching)
    expect(r.returncode == 2 and "hostile-touching.dxf: catalogue:" in r.stderr,
           f"touching: exit {r.returncode}, {r.stderr[:500]}")
    expect("hostile-touching.dxf: catalogue:" in (drawing_of(r)["error"] or ""), f"touching: {r.stdout[:300]}")
    r = run("--catalogue", catalogue, "--json", clean, touching, plain)
    drawings = document_of(r)["drawings"]
    expect(r.returncode == 2 and [d["path"] for d in drawings] == [clean, touching, plain] and
           [d["error"] is None for d in drawings] == [True, False, True],
           f"three drawings, the middle one failing: exit {r.returncode}, {[d['error'] for d in drawings]}")
    missing = os.path.join(work, "no-such-drawing.dxf")
    drawings = document_of(run("--catalogue", catalogue, "--json", missing, clean))["drawings"]
    expect(drawings[0]["error"] and drawings[1]["summary"]["connectors"] == 2, "an unreadable drawing has its error")
    unchanged("touching")

    # The text report for people writes control characters as escapes.
    r = run("--catalogue", catalogue, plain)
    expect("\x1b" not in r.stdout and "\x7f" not in r.stdout, "control characters reach the terminal")
    expect("\\x01\\x02\\x1B[31m\\x7F" in r.stdout, f"escaped control characters: {r.stdout[-600:]}")
    r = run("--catalogue", catalogue, quoted)
    expect("\x1b" not in r.stderr, "control characters in the box text")
    unchanged("text report")


def findings(catalogue, work, problems, report):
    """One finding per problem, with a stable rule name; a missing pin has no
    symbol, so no handle and no position; fingerprints survive an unrelated
    edit of the drawing."""
    got = sorted((f["rule"], f["connector"], f["identifier"], f["handle"] is None, f["x"] is None)
                 for f in report["findings"])
    expect(got == [("pin.invalid-mate", "X1", "A", False, False), ("pin.invalid-mate", "X2", "1", False, False),
                   ("pin.missing", "X1", "B", True, True), ("pin.missing", "X1", "C", True, True),
                   ("pin.missing", "X2", "2", True, True), ("pin.unknown", "X1", "9", False, False)],
           f"findings: {got}")
    mates = {f["identifier"]: f["related"] for f in report["findings"] if f["rule"] == "pin.invalid-mate"}
    expect(mates.get("A", {}).get("connector") == "X2", f"the related pin: {mates}")
    missing_pins = [p for c in report["connectors"] for p in c["pins"] if p["status"] == 1]
    expect(missing_pins and all(p["x"] is None and p["y"] is None for p in missing_pins),
           f"missing pins are placed nowhere, not at 0,0: {missing_pins}")
    expect(len({f["fingerprint"] for f in report["findings"]}) == len(report["findings"]), "fingerprints differ")

    # The same problems in a drawing edited elsewhere: other handles, a line
    # and an unrelated connector added. The fingerprints stay.
    edited = os.path.join(work, "problems-edited.dxf")
    doc = ezdxf.new("R2013")
    doc.appids.new("ZR_PINO")
    doc.blocks.new("PIN-A").add_attdef("ID_PINO", (0, 0))
    msp = doc.modelspace()
    msp.add_line((0, 0), (100, 100))
    for name, code, ident, x, y, layer in [("X7", "CM03F", "A", 500, 500, "ESQ"), ("X1", "CM03M", "A", 10, 10, "ESQ"),
                                           ("X1", "CM03M", "9", 10, 12, "ESQ"), ("X2", "AM02F", "1", 10, 10, "ZR_FREEZE")]:
        ref = msp.add_blockref("PIN-A", (x, y), dxfattribs={"layer": layer})
        ref.add_attrib("ID_PINO", ident, (x, y))
        ref.set_xdata("ZR_PINO", [(1000, name), (1000, code), (1000, "S")])
    doc.saveas(edited)
    again = drawing_of(run("--catalogue", catalogue, "--json", edited))
    before = {f["fingerprint"] for f in report["findings"]}
    after = {f["fingerprint"] for f in again["findings"] if f["connector"] != "X7"}
    expect(before == after, f"fingerprints after an unrelated edit: {sorted(before)} vs {sorted(after)}")
    expect(again["fingerprint"] != report["fingerprint"] and again["units"], "the drawing's own fingerprint changed")


def no_false_pass(catalogue, work, clean, examples):
    """Runs that once ended with 0 without having done what was asked."""
    # No settings anywhere: exit 2, naming where they were looked for (the
    # installed or source examples never stand in for them).
    empty = os.path.join(work, "no-settings")
    os.makedirs(empty, exist_ok=True)
    bare = {k: v for k, v in os.environ.items() if k not in ("ZR_SETTINGS_DIR", "XDG_CONFIG_HOME")}
    bare["HOME"] = empty
    for args, named in (([], os.path.join(empty, ".config", "zrconector")), (["--settings", empty], empty),
                        (["--settings", examples, "--program", "nobody"], examples)):
        r = run(*args, clean, env=bare)
        expect(r.returncode == 2 and "no settings file" in r.stderr and named in r.stderr and r.stdout == "",
               f"no settings {args}: exit {r.returncode}, {r.stderr!r}")

    # Settings that name the catalogue: the report names both.
    settings = os.path.join(work, "settings")
    os.makedirs(settings, exist_ok=True)
    with open(os.path.join(settings, "zrhost.ini"), "w") as f:
        f.write(f"[database]\ndata_folder = {os.path.dirname(catalogue)}/\ntype = MDB\nname = catalogo.db\n")
    r = run("--settings", settings, "--json", clean, env=bare)
    document = document_of(r) if r.stdout else {"settings": {}, "catalogue": {}}
    expect(r.returncode == 0 and document["settings"].get("file") == os.path.join(settings, "zrhost.ini") and
           document["catalogue"].get("file") == os.path.abspath(catalogue),
           f"settings named: {r.returncode} {r.stdout[:300]}")
    r = run("--settings", settings, clean, env=dict(bare, ZR_SETTINGS_DIR=empty))
    expect(r.stdout.startswith(f"catalogue: {os.path.abspath(catalogue)}\nsettings: {settings}/zrhost.ini\n"),
           f"text report names the catalogue and settings: {r.stdout[:300]!r}")
    r = run(clean, env=dict(bare, ZR_SETTINGS_DIR=f"{empty}:{settings}"))
    expect(r.returncode == 0, f"settings through ZR_SETTINGS_DIR: {r.returncode} {r.stderr}")
    with open(os.path.join(settings, "gone.ini"), "w") as f:
        f.write("[database]\ndata_folder = /nowhere/\ntype = MDB\nname = catalogo.db\n")
    r = run("--settings", settings, "--program", "gone", clean, env=bare)
    expect(r.returncode == 2 and "/nowhere/catalogo.db" in r.stderr and "does not exist" in r.stderr,
           f"settings naming a missing catalogue: {r.returncode} {r.stderr!r}")

    # A catalogue server that cannot be reached: exit 2 with the driver's
    # message, its line breaks kept (not written as \x0A escapes).
    with open(os.path.join(settings, "zrhost-pg.ini"), "w") as f:
        f.write("[database]\ntype = SQL\nname = zrcatalogo\nserver = 127.0.0.1,1\nuser = nobody\n")
    r = run("--settings", settings, "--program", "zrhost-pg", clean, env=bare)
    expect(r.returncode == 2 and "database zrcatalogo on server 127.0.0.1,1" in r.stderr and "\\x0A" not in r.stderr,
           f"unreachable server: {r.returncode} {r.stderr!r}")
    expect("holds a password" not in r.stderr, f"no password, no warning: {r.stderr!r}")
    # A password in a file every user can read is warned about.
    pg = os.path.join(settings, "zrhost-pw.ini")
    with open(pg, "w") as f:
        f.write("[database]\ntype = SQL\nname = zrcatalogo\nserver = 127.0.0.1,1\nuser = u\npassword = s3nha\n")
    for mode, warned in ((0o644, True), (0o600, False)):
        os.chmod(pg, mode)
        r = run("--settings", settings, "--program", "zrhost-pw", clean, env=bare)
        expect(("holds a password and every user can read it" in r.stderr) == warned and "s3nha" not in r.stderr,
               f"password warning with mode {mode:o}: {r.stderr!r}")

    # Names placed in model space that were not checked: the report says so
    # and the exit status is not 0.
    half = os.path.join(work, "half-tagged.dxf")
    doc = ezdxf.new("R2013")
    doc.appids.new("ZR_PINO")
    doc.blocks.new("PIN-A").add_attdef("ID_PINO", (0, 0))
    doc.blocks.new("PIN-T").add_attdef("PINO", (0, 0))
    msp = doc.modelspace()
    for name, code, block, tag, pins in (("X1", "CM03M", "PIN-A", "ID_PINO", "ABC"), ("X9", "CM03F", "PIN-T", "PINO", "A")):
        for i, p in enumerate(pins):
            ref = msp.add_blockref(block, (10, 10 + i), dxfattribs={"layer": "ESQ"})
            ref.add_attrib(tag, p, (10, 10 + i))
            ref.set_xdata("ZR_PINO", [(1000, name), (1000, code), (1000, "S")])
    doc.saveas(half)
    r = run("--catalogue", catalogue, "--json", half)
    report = drawing_of(r)
    expect(r.returncode == 1 and report["unchecked"] == ["X9"], f"one connector unchecked: {r.returncode} {report}")
    r = run("--catalogue", catalogue, half)
    expect("X9: placed in model space but not checked" in r.stdout, f"text says so: {r.stdout}")
    r = run("--catalogue", catalogue, "--attr-tag", "NOPE", os.path.join(examples, "drawing.dxf"))
    expect(r.returncode == 2 and "no pin symbol carries the attribute NOPE" in r.stderr,
           f"--attr-tag NOPE on the example: {r.returncode} {r.stderr!r}")

    # A database without the catalogue tables: one message naming the table.
    other = os.path.join(work, "not-a-catalogue.db")
    for stale in (other, os.path.join(work, "partial.db"), os.path.join(work, "readonly.db")):
        if os.path.exists(stale):
            os.remove(stale)
    with sqlite3.connect(other) as db:
        db.execute("CREATE TABLE T (A)")
    with open(other, "rb") as f:
        before = f.read()
    r = run("--catalogue", other, clean)
    expect(r.returncode == 2 and "has no table BDPINOS" in r.stderr and "SQL ERROR" not in r.stderr and
           len(r.stderr.strip().split("\n")) == 1, f"no catalogue tables: {r.returncode} {r.stderr!r}")
    with open(other, "rb") as f:
        expect(f.read() == before, "a database without the catalogue tables was changed")
    partial = os.path.join(work, "partial.db")
    with sqlite3.connect(partial) as db:
        db.execute("CREATE TABLE BDPINOS (PINO_KEY, PINO_CONECTOR, PINO_PINO)")
        db.execute("CREATE TABLE BDCONTRAPECAS (CONTRA_CON_A, CONTRA_CON_B)")
    r = run("--catalogue", partial, clean)
    expect(r.returncode == 2 and "no column PINO_ID in table BDPINOS" in r.stderr, f"no column: {r.stderr!r}")

    # A catalogue the user may only read is read, not refused.
    readonly = os.path.join(work, "readonly.db")
    shutil.copy(catalogue, readonly)
    os.chmod(readonly, 0o444)
    r = run("--catalogue", readonly, clean)
    expect(r.returncode == 0, f"read-only catalogue file: {r.returncode} {r.stderr}")

    # Output that cannot be written.
    r = run("--catalogue", catalogue, "-o", os.path.join(work, "no-such-folder", "report.json"), clean)
    expect(r.returncode == 2 and "no-such-folder" in r.stderr, f"-o into a missing folder: {r.returncode} {r.stderr}")
    r = run("--catalogue", catalogue, "-o", work, clean)
    expect(r.returncode == 2 and "is a folder" in r.stderr, f"-o a folder: {r.returncode} {r.stderr}")


def conventions(catalogue, work, clean):
    """The command line as users write it (the shared conventions are in
    conventions_test.py)."""
    out = os.path.join(work, "report.json")
    for args in (["--catalogue=" + catalogue, "--json", "-o", out, clean],
                 ["-c", catalogue, "--json", "--output=" + out, "--", clean]):
        if os.path.exists(out):
            os.remove(out)
        r = run(*args)
        with open(out) as f:
            paths = [d["path"] for d in json.load(f)["drawings"]]
        expect(r.returncode == 0 and r.stdout == "" and paths == [clean], f"{args}: {r.returncode} {paths}")
    with open(clean) as f:
        text = f.read()
    r = run("--catalogue", catalogue, "--json", "-", stdin=text)
    expect(r.returncode == 0 and drawing_of(r)["path"] == "-" and drawing_of(r)["summary"]["connectors"] == 2,
           f"a drawing on standard input: {r.returncode} {r.stdout[:200]} {r.stderr}")

    # Fingerprints are the SHA-256 of the bytes read: a file (read beside the
    # drawing), standard input (read once) and the catalogue, in one run.
    def sha256_of(path):
        with open(path, "rb") as f:
            return "sha256:" + hashlib.sha256(f.read()).hexdigest()
    r = run("--catalogue", catalogue, "--json", clean, "-", stdin=text)
    document = document_of(r)
    got = [d["fingerprint"] for d in document["drawings"]]
    want = [sha256_of(clean), "sha256:" + hashlib.sha256(text.encode()).hexdigest()]
    expect(got == want, f"drawing fingerprints: {got} vs {want}")
    expect(document["catalogue"]["fingerprint"] == sha256_of(catalogue),
           f"catalogue fingerprint: {document['catalogue']['fingerprint']}")
    dash = os.path.join(work, "-dash.dxf")
    shutil.copy(clean, dash)
    r = run("--catalogue", catalogue, "--", "-dash.dxf", cwd=work)
    expect(r.returncode == 0, f"a drawing named -dash.dxf after --: {r.returncode} {r.stderr}")

    # What a drawing is, said plainly.
    dwg = os.path.join(work, "drawing.dwg")
    with open(dwg, "wb") as f:
        f.write(b"AC1032\x00\x00\x00\x00\x00\x03" + bytes(200))
    empty = os.path.join(work, "empty.dxf")
    open(empty, "w").close()
    for path, words in ((work, "is a folder, not a drawing"), (dwg, "is a DWG file"),
                        (os.path.join(work, "missing.dxf"), "No such file or directory"), (empty, "empty")):
        r = run("--catalogue", catalogue, path)
        expect(r.returncode == 2 and words in r.stderr, f"{path}: {r.returncode} {r.stderr!r}")


def main():
    global run
    zrcheck, examples, work = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
    run = runner(zrcheck)
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
    document = document_of(r)
    expect(document["catalogue"]["file"] == os.path.abspath(catalogue) and document["settings"]["file"] is None and
           document["catalogue"]["fingerprint"].startswith("sha256:"),
           f"the report names the catalogue used: {document['catalogue']} {document['settings']}")
    report = document["drawings"][0]
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
    report = drawing_of(r)
    expect(report["names"] == ["X1"], f"problems: names leave out ZR_FREEZE, got {report['names']}")
    statuses = {p["identifier"]: p["status"] for p in report["connectors"][0]["pins"]}
    expect(statuses == {"A": 3, "9": 2, "B": 1, "C": 1}, f"problems: statuses {statuses}")
    expect(report["summary"] == {"connectors": 2, "pins": 6, "errors": 5, "missing": 3},
           f"problems: summary {report['summary']}")
    findings(catalogue, work, problems, report)

    # Several drawings, checked in parallel: one document, in the order given.
    order = [clean, problems] * 6 + [clean]
    r = run("--catalogue", catalogue, "--json", *order)
    paths = [d["path"] for d in document_of(r)["drawings"]]
    expect(paths == order, f"drawings in the order given: {paths}")
    expect(r.returncode == 1, f"several drawings: exit {r.returncode}")

    # The example drawing: every state.
    r = run("--catalogue", catalogue, "--json", os.path.join(examples, "drawing.dxf"))
    report = drawing_of(r)
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
    r = run("--catalogue", catalogue, "--json", tagged)
    report = drawing_of(r)
    expect(report["connectors"] == [] and report["unchecked"] == ["X1"] and r.returncode == 2,
           f"without --attr-tag the symbol has no pin attribute: nothing checked, exit {r.returncode}")
    r = run("--catalogue", catalogue, "--attr-tag", "PINO", "--json", tagged)
    report = drawing_of(r)
    expect(len(report["connectors"]) == 1 and report["connectors"][0]["pins"][0]["status"] == 0 and
           report["unchecked"] == [] and r.returncode == 1, f"with --attr-tag PINO: {report['connectors']}")
    r = run("--catalogue", catalogue, "--attr-tag", "PINO", tagged)
    expect("X1 (CM03M, flag S): pins missing" in r.stdout and ": ok" not in r.stdout and "failed, 2 errors" in r.stdout,
           f"'ok' only for a connector without findings: {r.stdout}")

    # Severities: the exit status follows errors only; ignored findings go.
    for args, status, severities in ((["--severity", "pin.missing=warning"], 0, ["warning", "warning"]),
                                     (["--severity=pin.missing=ignore"], 0, []),
                                     (["--severity", "pin.unknown=warning"], 1, ["error", "error"])):
        r = run("--catalogue", catalogue, "--attr-tag", "PINO", "--json", *args, tagged)
        got = [f["severity"] for f in drawing_of(r)["findings"]] if r.stdout else None
        expect(r.returncode == status and got == severities, f"{args}: exit {r.returncode}, severities {got}")
    for bad in ("nope=error", "pin.missing=fatal", "pin.missing"):
        r = run("--catalogue", catalogue, "--severity", bad, tagged)
        expect(r.returncode == 2 and r.stdout == "" and "--severity" in r.stderr, f"--severity {bad}: {r.stderr!r}")

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
        report = json.loads(r.stdout)["drawings"][0]
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
    hostile_codes(catalogue, work, clean)
    no_false_pass(catalogue, work, clean, examples)
    conventions(catalogue, work, clean)

    for f in failures:
        print("FAIL:", f)
    print(f"zrcheck: {'all checks passed' if not failures else str(len(failures)) + ' failure(s)'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
