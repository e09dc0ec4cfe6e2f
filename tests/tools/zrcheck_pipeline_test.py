#!/usr/bin/python3
"""zrcheck as a CI pipeline uses it: a baseline and waivers that hold however
the drawing's path is spelt, pairing of placed symbols only (connectors at the
drawing's origin), a connector code the catalogue lacks, --quiet, SARIF with
a region on every result and the rules code-scanning views ask for, JUnit XML
valid against a strict schema.

    zrcheck_pipeline_test.py ZRCHECK EXAMPLES_DIR WORKDIR"""

import json
import os
import re
import shutil
import sqlite3
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from tool_check import JUNIT_SCHEMA, SARIF_SCHEMA, build_catalogue, expect, finish, fresh_folder, runner  # noqa: E402
from tool_check import valid_document as document_of  # noqa: E402
from zrcheck_test import pin_drawing  # noqa: E402
from zrcheck_report_test import SHEET, keys  # noqa: E402

run = None  # zrcheck with its output captured, set by main


def insert_lines(path):
    """The line of the "0" group code of each INSERT, by handle: read here
    independently of zrcheck."""
    with open(path, encoding="utf-8", errors="replace") as f:
        lines = f.read().split("\n")
    found, start = {}, None
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1].strip()
        if code == "0":
            start = i + 1 if value == "INSERT" else None
        elif code == "5" and start:
            found[value.upper().lstrip("0") or "0"] = start
            start = None
    return found


def origin(catalogue, work):
    """A symbol at the drawing's origin never touches the catalogue pins that
    have no symbol (the module places those at 0, 0): the connector there is
    checked like any other, and the pins it lacks stay missing."""
    cases = [
        # (what, pins, exit, findings)
        ("a connector with a pin at the origin and pins missing",
         [("X1", "CM03M", "A", 0, 0, "ESQ"), ("X1", "CM03M", "B", 5, 0, "ESQ"),
          ("X2", "CM03F", "A", 100, 0, "ESQ")],
         1, {("pin.missing", "X1", "C"), ("pin.missing", "X2", "B"), ("pin.missing", "X2", "C")}),
        ("two mating connectors meeting at the origin",
         [("X1", "CM03M", p, 0, 5 * i, "ESQ") for i, p in enumerate("ABC")] +
         [("X2", "CM03F", p, 0, 5 * i, "ESQ") for i, p in enumerate("ABC")],
         0, set()),
        ("a connector that may not mate, at the origin, with pins missing",
         [("X1", "CM03M", p, 0, 5 * i, "ESQ") for i, p in enumerate("ABC")] + [("X4", "CM02M", "A", 0, 0, "ESQ")],
         1, {("pin.invalid-mate", "X1", "A"), ("pin.invalid-mate", "X4", "A"), ("pin.missing", "X4", "B")}),
    ]
    for number, (what, pins, status, want) in enumerate(cases):
        path = os.path.join(work, f"origin-{number}.dxf")
        pin_drawing(path, pins)
        r = run("--catalogue", catalogue, "--json", path)
        document = document_of(r, what)
        if not document:
            continue
        drawing = document["drawings"][0]
        expect(r.returncode == status and keys(drawing) == want,
               f"{what}: exit {r.returncode} (want {status}), findings {sorted(keys(drawing))}")
        # A pin without a symbol has no mate and keeps status 1.
        for connector in drawing["connectors"]:
            for pin in connector["pins"]:
                if not pin["handle"]:
                    expect(pin["mate"] is None and pin["status"] == 1,
                           f"{what}: {connector['name']} pin {pin['identifier']} without a symbol: {pin}")


def unknown_code(catalogue, work):
    """A code the catalogue lacks is one finding for its connector, naming the
    code and its symbols, not one pin.unknown per symbol."""
    path = os.path.join(work, "unknown-code.dxf")
    pin_drawing(path, [("X5", "ZZ99", p, 10 * i, 40, "ESQ") for i, p in enumerate("123")] +
                [("X1", "CM03M", "A", 0, 0, "ESQ"), ("X1", "CM03M", "9", 0, 5, "ESQ")])
    r = run("--catalogue", catalogue, "--json", path)
    document = document_of(r, "unknown code")
    if document:
        drawing = document["drawings"][0]
        found = [(f["rule"], f["connector"], f["code"]) for f in drawing["findings"] if f["connector"] == "X5"]
        expect(r.returncode == 1 and found == [("connector.unknown-code", "X5", "ZZ99")],
               f"one finding for the unknown code: exit {r.returncode}, {found}")
        expect(("pin.unknown", "X1", "9") in keys(drawing), "a known code's unknown pin is still pin.unknown")
        x5 = [c for c in drawing["connectors"] if c["name"] == "X5"]
        expect(x5 and [p["status"] for p in x5[0]["pins"]] == [2, 2, 2], f"the records stay the module's: {x5}")
    text = run("--catalogue", catalogue, path).stdout
    expect("X5 (ZZ99, flag S): code not in the catalogue" in text and
           "code ZZ99: not in the catalogue, 3 pin symbol(s) not checked [" in text and
           "(connector.unknown-code, error)" in text and "pin 1 [" not in text,
           f"text of the unknown code:\n{text}")
    r = run("--catalogue", catalogue, "--severity", "connector.unknown-code=warning", "--json", path)
    document = document_of(r, "unknown code as a warning")
    if document:
        expect({f["severity"] for f in document["drawings"][0]["findings"] if f["connector"] == "X5"} == {"warning"},
               "--severity connector.unknown-code=warning")


def spellings(catalogue, work):
    """A baseline made for sheet.dxf holds for ./sheet.dxf, the absolute
    path, sub/../sheet.dxf, the same file named from the parent folder, and a
    copy moved elsewhere; a baseline drawing that matches nothing is named on
    standard error. Waivers name drawings the same way."""
    folder = os.path.join(work, "spell")
    os.makedirs(os.path.join(folder, "sub"), exist_ok=True)
    sheet = os.path.join(folder, "sheet.dxf")
    pin_drawing(sheet, SHEET)
    r = run("--catalogue", catalogue, "--json", "-o", "old.json", "sheet.dxf", cwd=folder)
    expect(r.returncode == 1, f"the baseline run: exit {r.returncode} {r.stderr}")
    with open(os.path.join(folder, "old.json")) as f:
        expect(json.load(f)["drawings"][0]["normalised_path"] == "sheet.dxf", "the baseline's normalised path")
    moved = os.path.join(work, "moved")
    os.makedirs(moved, exist_ok=True)
    shutil.copy(sheet, os.path.join(moved, "renamed.dxf"))
    runs = [(folder, "old.json", "./sheet.dxf"), (folder, "old.json", sheet), (folder, "old.json", "sub/../sheet.dxf"),
            (work, "spell/old.json", "spell/sheet.dxf"), (work, os.path.join(folder, "old.json"), "./spell//sheet.dxf"),
            (moved, os.path.join(folder, "old.json"), "renamed.dxf")]
    for cwd, baseline, drawing in runs:
        r = run("--catalogue", catalogue, "--baseline", baseline, "--json", drawing, cwd=cwd)
        document = document_of(r, f"baseline {baseline} for {drawing}")
        if not document:
            continue
        states = {f["baseline"] for f in document["drawings"][0]["findings"]}
        expect(r.returncode == 0 and states == {"unchanged"} and "matches no drawing" not in r.stderr,
               f"baseline {baseline} from {os.path.relpath(cwd, work)} for {drawing}: exit {r.returncode}, "
               f"{states}, {r.stderr!r}")
    other = os.path.join(folder, "other.dxf")
    pin_drawing(other, [("X1", "CM03M", p, 10, 10 + i, "ESQ") for i, p in enumerate("ABC")])
    r = run("--catalogue", catalogue, "--baseline", "old.json", "other.dxf", cwd=folder)
    expect(r.returncode == 0 and "old.json: its drawing sheet.dxf matches no drawing checked" in r.stderr,
           f"an unmatched baseline drawing is named: exit {r.returncode}, {r.stderr!r}")

    # Waivers: a relative "drawing" is read against the waiver file's folder
    # (and the working folder), an absolute one as it is.
    for named in ("./sheet.dxf", sheet, "sub/../sheet.dxf"):
        with open(os.path.join(folder, "team.json"), "w") as f:
            json.dump({"waivers": [{"rule": "pin.missing", "connector": "X1", "drawing": named,
                                    "reason": "drawn later"}]}, f)
        for cwd, drawing, waivers in ((folder, sheet, "team.json"), (work, "spell/sheet.dxf", "spell/team.json")):
            r = run("--catalogue", catalogue, "--waivers", waivers, "--json", drawing, cwd=cwd)
            document = document_of(r, f"waiver for {named}")
            if document:
                waived = keys(document["drawings"][0], rule="pin.missing", connector="X1")
                got = {k for k in waived if any(f["waived"] for f in document["drawings"][0]["findings"]
                                                if (f["rule"], f["connector"], f["identifier"]) == k)}
                expect(len(got) == 2, f"waiver naming {named}, run from {os.path.relpath(cwd, work)} on {drawing}: "
                                      f"{sorted(got)} {r.stderr!r}")


def quiet(catalogue, work):
    """--quiet: the findings that fail the run or are new, one a line, and one
    line counting new, baselined and waived findings apart."""
    folder = os.path.join(work, "spell")
    r = run("--catalogue", catalogue, "--quiet", "sheet.dxf", cwd=folder)
    lines = r.stdout.splitlines()
    expect(r.returncode == 1 and len(lines) == 7 and all(line.startswith("sheet.dxf: ") for line in lines[:6]) and
           lines[6] == "zrcheck: failed, 1 drawing, 6 errors, 0 warnings, 0 waived",
           f"--quiet without a baseline: exit {r.returncode}\n{r.stdout}")
    edited = os.path.join(folder, "edited.dxf")
    pin_drawing(edited, SHEET + [("X1", "CM03M", "8", 40, 40, "ESQ")])
    with open(os.path.join(folder, "old.json")) as f:
        baseline = json.load(f)
    baseline["drawings"][0]["path"] = "edited.dxf"
    baseline["drawings"][0]["normalised_path"] = "edited.dxf"
    with open(os.path.join(folder, "edited.json"), "w") as f:
        json.dump(baseline, f)
    with open(os.path.join(folder, "edited.dxf.waivers.json"), "w") as f:
        json.dump({"waivers": [{"rule": "pin.missing", "connector": "X2", "reason": "later"}]}, f)
    r = run("--catalogue", catalogue, "--baseline", "edited.json", "-q", "edited.dxf", cwd=folder)
    lines = r.stdout.splitlines()
    expect(r.returncode == 1 and len(lines) == 2 and "pin 8" in lines[0] and lines[0].endswith("(pin.unknown, error, new)")
           and lines[1] == "zrcheck: failed, 1 drawing, 1 new error, 0 new warnings, 5 in the baseline, 1 waived",
           f"--quiet with a baseline: exit {r.returncode}\n{r.stdout}")
    text = run("--catalogue", catalogue, "--baseline", "edited.json", "edited.dxf", cwd=folder).stdout
    expect("  edited.dxf: failed, 1 new error, 0 new warnings, 5 in the baseline, 1 waived, 0 fixed since, catalogue: "
           in text, f"the drawing's line counts new and baselined apart:\n{text}")


def code_scanning(log, what):
    """The rules of code-scanning views that can be checked offline: every
    result placed on a line of an artifact, every rule described with help,
    the tool's information URI, URIs that are normalised and resolvable,
    partial fingerprints."""
    run_ = log["runs"][0]
    driver = run_["tool"]["driver"]
    expect(driver.get("informationUri", "").startswith("file:///"), f"{what}: informationUri {driver.get('informationUri')}")
    for rule in driver["rules"]:
        ok = (rule.get("shortDescription", {}).get("text") and rule.get("fullDescription", {}).get("text") and
              rule.get("help", {}).get("text") and rule.get("help", {}).get("markdown") and
              rule.get("helpUri", "").startswith("file:///"))
        expect(ok, f"{what}: rule {rule['id']} lacks descriptions or help: {rule}")
    bases = run_.get("originalUriBaseIds", {})
    for result in run_["results"]:
        location = result["locations"][0]["physicalLocation"]
        uri = location["artifactLocation"]["uri"]
        base = location["artifactLocation"].get("uriBaseId")
        expect(result.get("partialFingerprints") and result["message"].get("text"), f"{what}: {result}")
        expect(location.get("region", {}).get("startLine", 0) >= 1 and location["region"].get("startColumn") == 1,
               f"{what}: a result without a region: {result}")
        expect("/../" not in "/" + uri and "/./" not in "/" + uri and uri != "-", f"{what}: URI not normalised: {uri}")
        expect(base is None or (base in bases and bases[base]["uri"].endswith("/")),
               f"{what}: base id {base} not defined: {bases}")


def sarif(catalogue, work):
    folder = os.path.join(work, "spell")
    sheet = os.path.join(folder, "sheet.dxf")
    lines = insert_lines(sheet)
    r = run("--catalogue", catalogue, "--format", "sarif", "sub/../sheet.dxf", cwd=folder)
    log = document_of(r, "SARIF", SARIF_SCHEMA, sarif=True)
    if log:
        code_scanning(log, "SARIF")
        results = log["runs"][0]["results"]
        expect(len(results) == 6, f"SARIF results: {len(results)}")
        location = results[0]["locations"][0]["physicalLocation"]["artifactLocation"] if results else {}
        expect(location.get("uri") == "sheet.dxf" and location.get("uriBaseId") == "SRCROOT" and
               log["runs"][0]["originalUriBaseIds"]["SRCROOT"]["uri"] == "file://" + os.path.realpath(folder) + "/",
               f"a normalised URI relative to the working folder: {location}")
        # The region is the line of the symbol's INSERT; a missing pin points
        # at its connector's first symbol.
        json_report = document_of(run("--catalogue", catalogue, "--json", "sheet.dxf", cwd=folder), "JSON")
        first_symbol = {}
        for connector in json_report["drawings"][0]["connectors"] if json_report else []:
            first_symbol[connector["name"]] = next((p["handle"] for p in connector["pins"] if p["handle"]), None)
        for result in results:
            props = result["properties"]
            handle = result["locations"][0].get("properties", {}).get("handle") or first_symbol.get(props["connector"])
            line = result["locations"][0]["physicalLocation"]["region"]["startLine"]
            expect(handle in lines and line == lines[handle],
                   f"SARIF region of {result['ruleId']} {props['connector']}/{props['identifier']}: line {line}, "
                   f"INSERT {handle} at {lines.get(handle)}")
    # --base: URIs relative to another folder.
    log = document_of(run("--catalogue", catalogue, "--format", "sarif", "--base", work, "sheet.dxf", cwd=folder),
                      "SARIF --base", SARIF_SCHEMA, sarif=True)
    if log:
        uri = log["runs"][0]["artifacts"][0]["location"]["uri"]
        expect(uri == "spell/sheet.dxf", f"--base: {uri}")
    # The same problems in two drawings are two alerts; the finding's own
    # fingerprint (the one waivers name) is the same.
    copy = os.path.join(folder, "copy.dxf")
    shutil.copy(sheet, copy)
    log = document_of(run("--catalogue", catalogue, "--format", "sarif", "sheet.dxf", "copy.dxf", cwd=folder),
                      "SARIF of two drawings", SARIF_SCHEMA, sarif=True)
    if log:
        by_uri = {}
        for result in log["runs"][0]["results"]:
            uri = result["locations"][0]["physicalLocation"]["artifactLocation"]["uri"]
            by_uri.setdefault(uri, []).append(result)
        a, b = by_uri.get("sheet.dxf", []), by_uri.get("copy.dxf", [])
        expect(len(a) == len(b) == 6 and
               not {r_["partialFingerprints"]["zrcheck/v2"] for r_ in a} & {r_["partialFingerprints"]["zrcheck/v2"] for r_ in b}
               and sorted(r_["properties"]["fingerprint"] for r_ in a) == sorted(r_["properties"]["fingerprint"] for r_ in b),
               "partial fingerprints differ between drawings, the findings' own do not")
    # Standard input under its documented name.
    with open(sheet) as f:
        log = document_of(run("--catalogue", catalogue, "--format", "sarif", "-", stdin=f.read()), "SARIF of stdin",
                          SARIF_SCHEMA, sarif=True)
    if log:
        code_scanning(log, "SARIF of stdin")
        expect(log["runs"][0]["artifacts"][0]["location"]["uri"] == "stdin", f"stdin: {log['runs'][0]['artifacts']}")


def junit(catalogue, work):
    folder = os.path.join(work, "spell")
    report = os.path.join(work, "junit.xml")
    r = run("--catalogue", catalogue, "--format", "junit", "-o", report, "sheet.dxf", "other.dxf", cwd=folder)
    valid = subprocess.run(["xmllint", "--noout", "--schema", JUNIT_SCHEMA, report], capture_output=True, text=True)
    expect(r.returncode == 1 and valid.returncode == 0, f"JUnit against the strict schema: {valid.stderr[:500]}")
    import xml.etree.ElementTree as ElementTree
    root = ElementTree.parse(report).getroot()
    found = [f for f in root.iter("failure")]
    lines = insert_lines(os.path.join(folder, "sheet.dxf"))
    expect(len(found) == 6 and {f.get("type") for f in found} == {"pin.invalid-mate", "pin.unknown", "pin.missing"},
           f"one failure per finding: {[(f.get('type'), f.get('message')) for f in found]}")
    unknown = [f for f in found if f.get("type") == "pin.unknown"]
    expect(unknown and "pin 9 [" in unknown[0].get("message") and "not in the catalogue" in unknown[0].get("message")
           and any(f"location: sheet.dxf:{line}, symbol " in unknown[0].text for line in lines.values()),
           f"the failure's message, rule and location: {[(f.get('message'), f.text) for f in unknown]}")
    expect(all(c.get("time") is not None for c in root.iter("testcase")) and root.get("time") is not None and
           all(s.get("time") for s in root.iter("testsuite")), "time attributes")
    expect(not any(c.find("properties") is not None for c in root.iter("testcase")), "no properties in a testcase")


def worked_example(work):
    """The worked example of docs/catalogue.md, followed as a user would: its
    SQL and drawing script run, and zrcheck prints what the page shows."""
    import re
    folder = os.path.join(work, "worked-example")
    os.makedirs(folder)
    with open(os.path.join(HERE, "..", "..", "docs", "catalogue.md")) as f:
        page = f.read()
    shell = re.search(r"```sh\n(.*?)```", page, re.S)
    script = re.search(r"```python\n(.*?)```", page, re.S)
    console = re.search(r"```console\n\$ zrcheck --catalogue demo.db demo.dxf\n(.*?)\$ echo \$\?\n(\d+)\n```", page, re.S)
    expect(shell and script and console, "the worked example's blocks")
    if not (shell and script and console):
        return
    subprocess.run(["bash", "-c", shell.group(1)], cwd=folder, check=True)
    subprocess.run([sys.executable, "-c", script.group(1)], cwd=folder, check=True)
    r = run("--catalogue", "demo.db", "demo.dxf", cwd=folder)
    shown = console.group(1).replace("/home/me/demo.db", os.path.join(os.path.realpath(folder), "demo.db"))
    expect(r.stdout == shown and r.returncode == int(console.group(2)),
           f"the worked example prints what the page shows: exit {r.returncode}\n{r.stdout}\nvs\n{shown}")


# What differs between two runs of the same check: the date and the time
# each drawing took.
RUN_DATES = re.compile(r'("date": ?|"startTimeUtc": ?|timestamp=)"[0-9T:Z-]+"|time="[0-9.]+"')


def jobs(catalogue, work):
    """-j N reads up to N drawings at once: the report, byte for byte (its
    date and timings aside), and the exit status are those of -j 1, in every
    format, with drawings that pass, fail, cannot be read, are missing, and
    standard input among them."""
    folder = os.path.join(work, "jobs")
    os.makedirs(folder)
    drawings = []
    for i in range(7):
        path = os.path.join(folder, f"sheet{i}.dxf")
        moved = [(name, code, ident, x + i, y + 3 * i, layer) for name, code, ident, x, y, layer in SHEET]
        pin_drawing(path, moved[: 1 + i % 3] if i % 2 else moved)
        drawings.append(f"sheet{i}.dxf")
    with open(os.path.join(folder, "broken.dxf"), "w") as f:
        f.write("  0\nSECTION\n  2\nENTITIES\n  0\nINSERT\n 10\nnot a number\n")
    with open(os.path.join(folder, "sheet3.dxf.waivers.json"), "w") as f:
        json.dump({"waivers": [{"rule": "pin.missing", "connector": "X1", "reason": "later"}]}, f)
    with open(os.path.join(folder, "sheet1.dxf"), encoding="utf-8") as f:
        piped = f.read()
    given = drawings[:3] + ["broken.dxf", "-", "missing.dxf"] + drawings[3:]
    for form in ("json", "text", "sarif", "junit"):
        reports = {}
        for j in ("1", "2", "4"):
            r = run("--catalogue", catalogue, "--format", form, "-j", j, *given, cwd=folder, stdin=piped)
            reports[j] = (r.returncode, RUN_DATES.sub(r"\1\"\"", r.stdout), r.stderr)
        expect(reports["1"][0] == 2 and reports["1"][1].count("sheet") >= 7,
               f"-j 1 --format {form}: every drawing reported, exit 2 (one unreadable): exit {reports['1'][0]}")
        for j in ("2", "4"):
            expect(reports[j] == reports["1"],
                   f"--format {form}: -j {j} reports what -j 1 does: exit {reports[j][0]} vs {reports['1'][0]}\n"
                   f"{reports[j][1][:1500]}\nvs\n{reports['1'][1][:1500]}\nstderr {reports[j][2]} vs {reports['1'][2]}")
    document = document_of(run("--catalogue", catalogue, "--json", "-j", "3", *given, cwd=folder, stdin=piped),
                           "-j 3")
    if document:
        expect([d["path"] for d in document["drawings"]] == given,
               f"-j 3: the drawings in the order given: {[d['path'] for d in document['drawings']]}")
    for bad in ("0", "-1", "many"):
        r = run("--catalogue", catalogue, "-j", bad, "sheet0.dxf", cwd=folder)
        expect(r.returncode == 2 and r.stdout == "", f"-j {bad} is refused: exit {r.returncode} {r.stdout}")
    # The drawings are read while the catalogue opens: when it cannot be
    # opened, the run stops with that alone, whatever was read meanwhile.
    other = os.path.join(folder, "not-a-catalogue.db")
    with sqlite3.connect(other) as db:
        db.execute("CREATE TABLE T (A)")
    for j in ("1", "2", "4"):
        r = run("--catalogue", other, "--json", "-j", j, *given, cwd=folder, stdin=piped)
        expect(r.returncode == 2 and r.stdout == "" and "has no table BDPINOS" in r.stderr and
               len(r.stderr.strip().split("\n")) == 1,
               f"-j {j}, a database without the catalogue tables: exit {r.returncode} {r.stdout[:200]!r} {r.stderr!r}")


def threads_started(zrcheck, args, cwd):
    """The threads a run of zrcheck started (clone calls seen by strace),
    and its exit status; None when strace cannot trace here (a container
    that forbids ptrace)."""
    log = os.path.join(cwd, "strace.log")
    if os.path.exists(log):
        os.remove(log)
    # The leak check's own tracer would show as a thread of the run.
    env = dict(os.environ, ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0")
    r = subprocess.run(["strace", "-f", "-qq", "-e", "trace=clone,clone3", "-o", log, zrcheck, *args],
                       capture_output=True, text=True, timeout=120, cwd=cwd, env=env)
    if not os.path.exists(log) or "ptrace" in r.stderr:
        print(f"threads: strace cannot trace here, not checked: {r.stderr.strip()[:200]}")
        return None
    with open(log, encoding="utf-8") as f:
        started = sum(1 for line in f if re.search(r"\bclone3?\(", line))
    return started, r.returncode


def threads(zrcheck, catalogue, work):
    """-j 1 keeps to one thread, whatever it checks: a pipeline that runs
    several checks side by side, one a processor, is not oversubscribed.
    With a processor to spare (-j 2, one drawing), a check takes a second
    thread."""
    if not shutil.which("strace"):
        expect(False, "strace is not installed (scripts/setup.sh installs it)")
        return
    folder = os.path.join(work, "threads")
    os.makedirs(folder)
    for i in range(3):
        pin_drawing(os.path.join(folder, f"sheet{i}.dxf"), SHEET)
    sheets = [f"sheet{i}.dxf" for i in range(3)]
    for given in (sheets[:1], sheets):
        seen = threads_started(zrcheck, ["--catalogue", catalogue, "--json", "-o", "out.json", "-j", "1", *given],
                               folder)
        if seen is None:
            return
        started, status = seen
        expect(status == 1 and started == 0,
               f"-j 1 on {len(given)} drawing(s): exit 1 (findings) on one thread: exit {status}, "
               f"{started} thread(s) started")
    if (os.cpu_count() or 1) > 1:
        started, status = threads_started(zrcheck, ["--catalogue", catalogue, "--json", "-o", "out.json", "-j", "2",
                                                    sheets[0]], folder)
        expect(status == 1 and started > 0,
               f"-j 2 on one drawing takes a second thread: exit {status}, {started} thread(s) started")


def main():
    global run
    zrcheck, examples, work = os.path.abspath(sys.argv[1]), sys.argv[2], os.path.abspath(sys.argv[3])
    run = runner(zrcheck)
    fresh_folder(work)
    catalogue = build_catalogue(examples, os.path.join(work, "catalogo.db"))
    origin(catalogue, work)
    unknown_code(catalogue, work)
    spellings(catalogue, work)
    quiet(catalogue, work)
    sarif(catalogue, work)
    junit(catalogue, work)
    jobs(catalogue, work)
    threads(zrcheck, catalogue, work)
    worked_example(work)
    return finish("zrcheck pipeline")


if __name__ == "__main__":
    sys.exit(main())
