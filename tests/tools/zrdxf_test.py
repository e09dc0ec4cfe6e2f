#!/usr/bin/python3
"""zrdxf as a user runs it. audit: numbered findings that point at the right
lines, the count, exit statuses 0 / 1 / 2, and a drawing left as it was.
info: entities by kind per space and objects by application counted right;
drawings whose dictionaries hold themselves are listed, not walked forever.

    zrdxf_test.py ZRDXF WORKDIR

Drawings are written by ezdxf (an independent writer, whose files must audit
clean) and then edited as text to carry each kind of fault."""

import json
import os
import re
import subprocess
import sys

import ezdxf

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tool_check import expect, finish, runner  # noqa: E402

run = None  # zrdxf with its output captured, set at the start


def audit(path):
    return run("audit", path)


def clean_drawing(path, version="R2013"):
    doc = ezdxf.new(version)
    doc.appids.new("ZR_PINO")
    block = doc.blocks.new("PIN-A")
    block.add_attdef("ID_PINO", (0, 0))
    msp = doc.modelspace()
    for i in range(3):
        ref = msp.add_blockref("PIN-A", (i, 0))
        ref.add_attrib("ID_PINO", f"P{i}", (i, 0))
        ref.set_xdata("ZR_PINO", [(1000, f"X{i}"), (1000, "C-1"), (1000, "S")])
    msp.add_line((0, 0), (1, 1))
    doc.objects.add_xrecord(doc.rootdict.dxf.handle)
    doc.saveas(path)


def read_lines(path):
    with open(path, encoding="utf-8", newline="") as f:
        return f.read().split("\n")


def write_lines(path, lines):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write("\n".join(lines))


def entity_start(lines, kind, nth=0):
    """Index of the type line of the nth entity of that kind."""
    seen = 0
    for i in range(1, len(lines)):
        if lines[i] == kind and lines[i - 1].strip() == "0":
            if seen == nth:
                return i
            seen += 1
    raise AssertionError(f"no {kind} number {nth}")


def tag_after(lines, start, code):
    """Index of the value line of the first tag with this code after start."""
    for i in range(start + 1, len(lines) - 1, 2):
        if lines[i].strip() == code:
            return i + 1
    raise AssertionError(f"no group code {code} after line {start + 1}")


FINDING = re.compile(r"^(\d+)\. line (\d+): (\S+) ([0-9A-F]+): (.+)$")


def parse(stdout):
    """(number, line, kind, handle, message) per finding, and the last line."""
    out_lines = stdout.rstrip("\n").split("\n")
    findings = []
    for text in out_lines[:-1]:
        m = FINDING.match(text)
        expect(m is not None, f"not a finding line: {text!r}")
        if m:
            findings.append((int(m[1]), int(m[2]), m[3], m[4], m[5]))
    return findings, out_lines[-1]


def check_clean(work):
    for version in ("R2000", "R2004", "R2007", "R2013", "R2018"):
        path = os.path.join(work, f"clean_{version}.dxf")
        clean_drawing(path, version)
        result = audit(path)
        expect(result.returncode == 0, f"{version}: exit {result.returncode}: {result.stdout}{result.stderr}")
        expect(result.stdout == "no findings\n", f"{version}: printed {result.stdout!r}")


def check_findings(work):
    path = os.path.join(work, "faults.dxf")
    clean_drawing(path)
    lines = read_lines(path)
    # The second INSERT names a missing owner; the third carries extended data
    # of an application not in the APPID table; the LINE reuses the first
    # INSERT's handle.
    second = entity_start(lines, "INSERT", 1)
    owner_at = tag_after(lines, second, "330")
    lines[owner_at] = "FFFFA"
    third = entity_start(lines, "INSERT", 2)
    app_at = tag_after(lines, third, "1001")
    lines[app_at] = "ZR_NOAPP"
    first_handle = lines[tag_after(lines, entity_start(lines, "INSERT", 0), "5")]
    line_start = entity_start(lines, "LINE")
    handle_at = tag_after(lines, line_start, "5")
    lines[handle_at] = first_handle
    write_lines(path, lines)
    before = open(path, "rb").read()

    result = audit(path)
    expect(result.returncode == 1, f"faults: exit {result.returncode}: {result.stderr}")
    findings, summary = parse(result.stdout)
    expect(open(path, "rb").read() == before, "the audit changed the drawing")
    expect([f[0] for f in findings] == list(range(1, len(findings) + 1)), f"not numbered 1..n: {result.stdout}")
    expect([f[1] for f in findings] == sorted(f[1] for f in findings), f"not in file order: {result.stdout}")
    expect(summary == f"{len(findings)} findings", f"summary {summary!r} for {len(findings)} findings")
    expected = [
        (owner_at, "INSERT", "owner FFFFA does not exist"),
        (app_at, "INSERT", 'extended data of application "ZR_NOAPP" not in the APPID table'),
        (line_start, "LINE", f"handle {first_handle} used again (first at line "),
    ]
    for value_index, kind, message in expected:
        # Findings name the line of the tag's group code (or of the object's
        # "0 TYPE"), counted from 1: the value's index is that line.
        hits = [f for f in findings if f[2] == kind and f[4].startswith(message)]
        expect(len(hits) == 1, f"{message!r}: {len(hits)} findings in\n{result.stdout}")
        if hits:
            expect(hits[0][1] == value_index, f"{message!r} at line {hits[0][1]}, expected {value_index}")
    expect(len(findings) == len(expected), f"unexpected findings:\n{result.stdout}")

    # $HANDSEED below the handles: one finding per object at or above it.
    seeded = os.path.join(work, "seed.dxf")
    lines = read_lines(os.path.join(work, "clean_R2013.dxf"))
    lines[tag_after(lines, lines.index("$HANDSEED"), "5")] = "20"
    write_lines(seeded, lines)
    result = audit(seeded)
    findings, summary = parse(result.stdout)
    expect(result.returncode == 1 and findings, f"seed: exit {result.returncode}: {result.stdout}")
    expect(all(f[4] == f"handle {f[3]} is not below $HANDSEED 20" for f in findings), result.stdout)
    expect(all(int(f[3], 16) >= 0x20 for f in findings), result.stdout)


def check_unreadable(work):
    text = open(os.path.join(work, "clean_R2013.dxf"), encoding="utf-8").read()
    cases = {
        "truncated.dxf": text[: len(text) // 2],
        "not_dxf.dxf": "hello\nworld\n",
        "r12.dxf": text.replace("AC1027", "AC1009", 1),
    }
    for name, body in cases.items():
        path = os.path.join(work, name)
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(body)
        result = audit(path)
        expect(result.returncode == 2, f"{name}: exit {result.returncode}: {result.stdout}")
        expect(result.stdout == "", f"{name}: printed {result.stdout!r}")
        expect(re.search(re.escape(path) + r":\d+: ", result.stderr) is not None, f"{name}: {result.stderr!r}")
    missing = audit(os.path.join(work, "missing.dxf"))
    expect(missing.returncode == 2 and "missing.dxf" in missing.stderr, f"missing: {missing.stderr!r}")
    usage = subprocess.run([ZRDXF, "audit"], capture_output=True, text=True, timeout=60)
    expect(usage.returncode == 2 and "drawings is required" in usage.stderr and "--help" in usage.stderr,
           f"usage: {usage.stderr!r}")

    # What the path is, said plainly: a folder, a DWG file.
    dwg = os.path.join(work, "drawing.dwg")
    with open(dwg, "wb") as f:
        f.write(b"AC1027" + bytes(300))
    for command in ("info", "audit"):
        for path, words in ((work, "is a folder, not a drawing"), (dwg, "is a DWG file")):
            r = subprocess.run([ZRDXF, command, path], capture_output=True, text=True, timeout=60)
            expect(r.returncode == 2 and words in r.stderr and r.stdout == "", f"{command} {path}: {r.stderr!r}")


def check_several_drawings(work):
    """info and audit take several drawings, report them in the order given
    (they are read in parallel), as text or as one JSON document."""
    clean = os.path.join(work, "clean_R2013.dxf")
    faults = os.path.join(work, "faults.dxf")
    missing = os.path.join(work, "missing.dxf")
    order = [faults, clean] * 4
    r = run("audit", "--json", *order)
    document = json.loads(r.stdout)
    expect(r.returncode == 1 and [d["path"] for d in document["drawings"]] == order,
           f"audit --json of several: exit {r.returncode}, {[d['path'] for d in document['drawings']]}")
    first = document["drawings"][0]["findings"]
    text_findings, _ = parse(audit(faults).stdout)
    expect([(f["number"], f["line"], f["subject"], f["message"]) for f in first] ==
           [(n, line, f"{kind} {handle}", message) for n, line, kind, handle, message in text_findings],
           f"audit --json holds the findings of the text: {first}")
    expect(document["drawings"][1]["findings"] == [] and document["drawings"][1]["error"] is None, "clean in JSON")

    r = run("audit", clean, missing, faults)
    expect(r.returncode == 2 and "missing.dxf" in r.stderr, f"audit with a missing drawing: {r.returncode}")
    heads = [line for line in r.stdout.split("\n") if line.startswith("== ")]
    expect(heads == [f"== {clean}", f"== {missing}", f"== {faults}"], f"text headings: {heads}")
    expect(f"== {clean}\nno findings\n== {missing}\nnot read: " in r.stdout, f"text of several: {r.stdout[:400]}")

    other = os.path.join(work, "clean_R2000.dxf")
    r = run("info", "--json", clean, other)
    drawings = json.loads(r.stdout)["drawings"]
    expect(r.returncode == 0 and [d["path"] for d in drawings] == [clean, other] and
           drawings[0]["info"]["entities"]["model"].get("LINE") == 1, f"info --json of several: {r.returncode}")
    expect(all(d["error"] is None and isinstance(d["info"], dict) for d in drawings), f"info documents: {drawings}")

    # Standard input, -o, --opt=value and "--".
    with open(clean, encoding="utf-8") as f:
        text = f.read()
    r = run("info", "--json", "-", stdin=text)
    expect(r.returncode == 0 and json.loads(r.stdout)["drawings"][0]["path"] == "(standard input)",
           f"info of standard input: {r.returncode} {r.stderr}")
    r = run("audit", "-", stdin=text)
    expect(r.returncode == 0 and r.stdout == "no findings\n", f"audit of standard input: {r.stdout!r} {r.stderr}")
    out = os.path.join(work, "report.json")
    r = run("audit", "--json", "--output=" + out, "--", faults)
    with open(out) as f:
        expect(r.returncode == 1 and r.stdout == "" and json.load(f)["drawings"][0]["findings"], "audit -o FILE")
    r = run("info", "-o", os.path.join(work, "no-such-folder", "x.json"), clean)
    expect(r.returncode == 2 and "no-such-folder" in r.stderr, f"info -o into a missing folder: {r.stderr!r}")
    r = run("roundtrip", "-", os.path.join(work, "from-stdin.dxf"), stdin=text)
    expect(r.returncode == 0 and run("audit", os.path.join(work, "from-stdin.dxf")).returncode == 0,
           f"roundtrip from standard input: {r.stderr}")
    r = run("roundtrip", clean, os.path.join(work, "no-such-folder", "x.dxf"))
    expect(r.returncode == 2 and "no-such-folder" in r.stderr, f"roundtrip into a missing folder: {r.stderr!r}")


def check_info_counts(work):
    """info counts entities by kind per space and the objects that carry each
    application's extended data, kinds and applications mixed in any order."""
    doc = ezdxf.new("R2013")
    for app in ("ZR_PINO", "OTHER"):
        doc.appids.new(app)
    block = doc.blocks.new("PIN-A")
    block.add_attdef("ID_PINO", (0, 0))
    msp = doc.modelspace()
    first = msp.add_blockref("PIN-A", (0, 0))
    first.add_attrib("ID_PINO", "1", (0, 0)).set_xdata("ZR_PINO", [(1000, "X1")])
    first.set_xdata("ZR_PINO", [(1000, "X1")])
    msp.add_line((0, 0), (1, 1)).set_xdata("OTHER", [(1000, "o")])
    msp.add_circle((0, 0), 1)
    second = msp.add_blockref("PIN-A", (5, 0))
    second.set_xdata("ZR_PINO", [(1000, "X2")])
    second.set_xdata("OTHER", [(1000, "o")])
    msp.add_line((2, 2), (3, 3)).set_xdata("ZR_PINO", [(1000, "X3")])
    doc.layout("Layout1").add_line((0, 0), (1, 0))
    path = os.path.join(work, "counts.dxf")
    doc.saveas(path)
    r = run("info", "--json", path)
    info = json.loads(r.stdout)["drawings"][0]["info"] if r.returncode == 0 else {}
    expect(info.get("entities", {}).get("model") == {"CIRCLE": 1, "INSERT": 2, "LINE": 2},
           f"model-space kinds: {info.get('entities')}")
    expect(info.get("entities", {}).get("paper") == {"LINE": 1}, f"paper-space kinds: {info.get('entities')}")
    expect(info.get("applications") == {"OTHER": 2, "ZR_PINO": 4}, f"applications: {info.get('applications')}")


def check_info_on_dictionary_cycles(work):
    # A dictionary that holds itself under three keys: a walk that follows
    # entries without remembering where it was grows as 3^depth.
    doc = ezdxf.new("R2013")
    loop = doc.rootdict.add_new_dict("LOOP")
    for key in ("A", "B", "C"):
        loop[key] = loop
    path = os.path.join(work, "dictionary_loop.dxf")
    doc.saveas(path)
    try:
        result = subprocess.run([ZRDXF, "info", path, "--json"], capture_output=True, text=True, timeout=60)
    except subprocess.TimeoutExpired:
        expect(False, "zrdxf info on a dictionary that holds itself: no answer after 60 s")
        return
    expect(result.returncode == 0, f"info on a dictionary loop: exit {result.returncode}: {result.stderr}")
    listed = [d for d in json.loads(result.stdout)["drawings"][0]["info"]["dictionaries"] if "LOOP" in d["path"]]
    expect(len(listed) == 1 and listed[0]["entries"] == 3, f"LOOP listed as {listed}")


def main():
    work = WORK
    os.makedirs(work, exist_ok=True)
    check_clean(work)
    check_findings(work)
    check_unreadable(work)
    check_info_on_dictionary_cycles(work)
    check_info_counts(work)
    check_several_drawings(work)
    return finish("zrdxf")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: zrdxf_test.py ZRDXF WORKDIR")
    ZRDXF, WORK = sys.argv[1], sys.argv[2]
    run = runner(ZRDXF, timeout=300)
    sys.exit(main())
