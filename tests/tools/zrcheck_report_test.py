#!/usr/bin/python3
"""zrcheck's report in a pipeline: severities from the settings file and the
command line, waivers, a baseline, and the text, JSON, SARIF and JUnit
formats, each run through the real program.

    zrcheck_report_test.py ZRCHECK EXAMPLES_DIR WORKDIR

The JSON report is validated against tools/zrcheck/report-schema.json and the
SARIF log against the SARIF 2.1.0 schema kept in tests/tools/sarif."""

import datetime
import json
import os
import shutil
import sys
import xml.etree.ElementTree as ElementTree

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from tool_check import SARIF_SCHEMA, build_catalogue, expect, failures, finish, fresh_folder, runner  # noqa: E402
from tool_check import valid_document as valid_json  # noqa: E402
from zrcheck_test import pin_drawing  # noqa: E402  (the drawings the other zrcheck test writes)

run = None  # zrcheck with its output captured, set by main


def valid_sarif(result, what):
    """The SARIF log of a run, checked against the SARIF 2.1.0 schema."""
    return valid_json(result, what, SARIF_SCHEMA, sarif=True)


# The problems of one sheet: X1 (CM03M) has pin A touching X2's pin 1, which
# it may not mate with, an unknown pin 9 and lacks B and C; X2 (AM02F) lacks 2.
SHEET = [("X1", "CM03M", "A", 10, 10, "ESQ"), ("X1", "CM03M", "9", 10, 12, "ESQ"),
         ("X2", "AM02F", "1", 10, 10, "ESQ")]
SHEET_FINDINGS = {("pin.invalid-mate", "X1", "A"), ("pin.invalid-mate", "X2", "1"), ("pin.unknown", "X1", "9"),
                  ("pin.missing", "X1", "B"), ("pin.missing", "X1", "C"), ("pin.missing", "X2", "2")}


def keys(drawing, **where):
    return {(f["rule"], f["connector"], f["identifier"]) for f in drawing["findings"]
            if all(f[k] == v for k, v in where.items())}


def formats(catalogue, work, sheet, clean):
    """The same check in each format: what a person, a JSON reader, a
    code-scanning view and a CI test report each get."""
    document = valid_json(run("--catalogue", catalogue, "--format", "json", sheet), "--format json")
    same = valid_json(run("--catalogue", catalogue, "--json", sheet), "--json")
    if not document or not same:
        return
    drawing = document["drawings"][0]
    expect(keys(drawing) == SHEET_FINDINGS, f"findings of the sheet: {keys(drawing)}")
    expect(drawing["outcome"] == {"failed": True, "errors": 6, "warnings": 0, "waived": 0, "unchanged": 0,
                                  "fixed": 0}, f"outcome: {drawing['outcome']}")
    expect(document["settings"]["severities"] == dict.fromkeys(
        ["pin.missing", "pin.unknown", "pin.invalid-mate", "pin.self-mate", "connector.unchecked",
         "connector.unknown-code"], "error"),
        f"severities in force: {document['settings']['severities']}")
    expect([f["fingerprint"] for f in same["drawings"][0]["findings"]] == [f["fingerprint"] for f in drawing["findings"]],
           "--json and --format json differ")

    # Text: "ok" only for a connector without findings, and a summary line
    # naming the drawing, its errors, warnings, waived findings and catalogue.
    text = run("--catalogue", catalogue, sheet, clean).stdout
    expect(f"  {sheet}: failed, 6 errors, 0 warnings, 0 waived, catalogue: {catalogue}\n" in text,
           f"text summary of the sheet:\n{text}")
    expect(f"  {clean}: passed, 0 errors, 0 warnings, 0 waived, catalogue: {catalogue}\n" in text,
           f"text summary of the clean drawing:\n{text}")
    expect("X1 (CM03M, flag S): invalid connection" in text and "X2 (AM02F, flag S): invalid connection" in text and
           "X1 (CM03F, flag S): ok" not in text, f"connector states:\n{text}")
    expect(text.count(": ok\n") == 2, f"'ok' for the two clean connectors only:\n{text}")

    # SARIF: valid, one result per finding with our fingerprint, the rule's
    # level, the drawing as artifact and the pin as logical location.
    r = run("--catalogue", catalogue, "--format", "sarif", sheet, clean)
    log = valid_sarif(r, "--format sarif")
    if log:
        sarif_run = log["runs"][0]
        rules = [rule["id"] for rule in sarif_run["tool"]["driver"]["rules"]]
        results = sarif_run["results"]
        expect(r.returncode == 1 and log["version"] == "2.1.0" and sarif_run["tool"]["driver"]["name"] == "zrcheck",
               f"SARIF run: exit {r.returncode}")
        expect(sorted(res["properties"]["fingerprint"] for res in results) ==
               sorted(f["fingerprint"] for f in drawing["findings"]), "SARIF fingerprints are the report's")
        expect(all(rules[res["ruleIndex"]] == res["ruleId"] and res["level"] == "error" for res in results),
               "SARIF rule indexes and levels")
        # The drawings are named by absolute paths: relative URIs when they
        # lie below the working folder, else file: URIs.
        def uri_of(path):
            relative = os.path.relpath(os.path.realpath(path))
            return "file://" + os.path.realpath(path) if relative.startswith("..") else relative
        expect([a["location"]["uri"] for a in sarif_run["artifacts"]] == [uri_of(sheet), uri_of(clean)],
               f"SARIF artifacts: {sarif_run['artifacts']}")
        by_pin = {(res["ruleId"], res["locations"][0]["logicalLocations"][-1]["fullyQualifiedName"]): res
                  for res in results}
        unknown = by_pin.get(("pin.unknown", "X1/9"))
        expect(unknown is not None and unknown["locations"][0]["properties"]["x"] == 10 and
               unknown["locations"][0]["properties"]["y"] == 12 and
               unknown["locations"][0]["physicalLocation"]["artifactLocation"]["uri"] == uri_of(sheet),
               f"SARIF place of the unknown pin: {unknown}")
        missing = by_pin.get(("pin.missing", "X1/B"))
        expect(missing is not None and "properties" not in missing["locations"][0],
               f"a missing pin has no position in SARIF: {missing}")
        expect(all("suppressions" not in res and "baselineState" not in res for res in results),
               "no suppressions or baseline states without waivers or baseline")

    # JUnit: a suite per drawing, a case per connector, failures with the
    # findings' messages.
    r = run("--catalogue", catalogue, "--format", "junit", sheet, clean)
    try:
        root = ElementTree.fromstring(r.stdout)
    except ElementTree.ParseError as e:
        failures.append(f"JUnit XML does not parse: {e}: {r.stdout[:300]}")
        return
    suites = root.findall("testsuite")
    expect([s.get("name") for s in suites] == [sheet, clean], f"JUnit suites {[s.get('name') for s in suites]}")
    cases = {c.get("name"): c for c in suites[0].findall("testcase")}
    expect(sorted(cases) == ["X1 (CM03M)", "X2 (AM02F)"], f"JUnit cases {sorted(cases)}")
    messages = [f.get("message") for f in cases.get("X1 (CM03M)", ElementTree.Element("x")).findall("failure")]
    expect(len(messages) == 4 and any("pin 9 [" in m and "is not in the catalogue" in m for m in messages) and
           any("pin B is missing" in m for m in messages), f"JUnit failures, one a finding: {messages}")
    expect(root.get("tests") == "4" and root.get("failures") == "2" and suites[1].get("failures") == "0",
           f"JUnit counts: {root.attrib}")

    for args in (["--json", "--format", "sarif"], ["--format", "html"]):
        r = run("--catalogue", catalogue, *args, sheet)
        expect(r.returncode == 2 and r.stdout == "" and "format" in r.stderr, f"{args}: {r.returncode} {r.stderr!r}")


def severities(catalogue, work, sheet):
    """Levels from the settings file's [zrcheck] section, the command line
    over them, and the exit status following errors only."""
    folder = os.path.join(work, "severity-settings")
    os.makedirs(folder, exist_ok=True)
    ini = os.path.join(folder, "zrhost.ini")
    database = f"[database]\ndata_folder = {os.path.dirname(catalogue)}/\ntype = MDB\nname = {os.path.basename(catalogue)}\n"
    accepted = [
        # section, command line, exit, level by rule (None: dropped)
        ("severity.pin.missing = warning\nseverity.pin.unknown = warning\nseverity.pin.invalid-mate = warning\n", [],
         0, {"pin.missing": "warning", "pin.unknown": "warning", "pin.invalid-mate": "warning"}),
        ("severity.pin.missing = warning\nseverity.pin.unknown = warning\nseverity.pin.invalid-mate = warning\n",
         ["--severity", "pin.unknown=error"], 1,
         {"pin.missing": "warning", "pin.unknown": "error", "pin.invalid-mate": "warning"}),
        ("severity.pin.missing = ignore   ; drawn later\n", [], 1,
         {"pin.missing": None, "pin.unknown": "error", "pin.invalid-mate": "error"}),
        ("", ["--severity", "pin.invalid-mate=ignore", "--severity", "pin.unknown=ignore",
              "--severity", "pin.missing=warning"], 0,
         {"pin.missing": "warning", "pin.unknown": None, "pin.invalid-mate": None}),
    ]
    for section, args, status, levels in accepted:
        with open(ini, "w") as f:
            f.write(database + ("[zrcheck]\n" + section if section else ""))
        r = run("--settings", folder, "--json", *args, sheet)
        document = valid_json(r, f"severities {section!r} {args}")
        if not document:
            continue
        got = {}
        for finding in document["drawings"][0]["findings"]:
            got.setdefault(finding["rule"], set()).add(finding["severity"])
        want = {rule: {level} for rule, level in levels.items() if level}
        expect(r.returncode == status and got == want,
               f"severities {section!r} {args}: exit {r.returncode} (want {status}), levels {got}")
        in_force = document["settings"]["severities"]
        expect(all(in_force[rule] == (level or "ignore") for rule, level in levels.items()),
               f"severities in force {section!r} {args}: {in_force}")
        text = run("--settings", folder, *args, sheet).stdout
        warnings = sum(1 for f in document["drawings"][0]["findings"] if f["severity"] == "warning")
        expect(f", {warnings} warning" in text, f"text counts {warnings} warnings: {text[-200:]}")

    # With --catalogue, --settings names the file whose [zrcheck] section is
    # read; the report names it.
    with open(ini, "w") as f:
        f.write("[zrcheck]\nseverity.pin.missing = warning\n")
    r = run("--catalogue", catalogue, "--settings", folder, "--json", sheet)
    document = valid_json(r, "--catalogue with --settings")
    if document:
        expect(document["settings"]["file"] == ini and document["settings"]["severities"]["pin.missing"] == "warning"
               and {f["severity"] for f in document["drawings"][0]["findings"] if f["rule"] == "pin.missing"} ==
               {"warning"}, f"--catalogue with --settings: {document['settings']}")
    empty = os.path.join(work, "severity-none")
    os.makedirs(empty, exist_ok=True)
    r = run("--catalogue", catalogue, "--settings", empty, sheet)
    expect(r.returncode == 2 and r.stdout == "" and os.path.join(empty, "zrhost.ini") in r.stderr,
           f"--catalogue with --settings of a folder without the file: {r.returncode} {r.stderr!r}")

    refused = [("severity.pin.nope = error\n", "severity.pin.nope: no rule"),
               ("severity.pin.missing = fatal\n", "severity.pin.missing: the level is error, warning or ignore"),
               ("colour = red\n", "[zrcheck] colour: unknown key")]
    for section, words in refused:
        with open(ini, "w") as f:
            f.write(database + "[zrcheck]\n" + section)
        r = run("--settings", folder, sheet)
        expect(r.returncode == 2 and r.stdout == "" and ini in r.stderr and words in r.stderr,
               f"settings {section!r} refused: exit {r.returncode}, {r.stderr!r}")


def write_waivers(path, waivers):
    with open(path, "w") as f:
        json.dump({"waivers": waivers}, f, indent=1)


def waivers(catalogue, work, sheet, fingerprints):
    """Waivers valid, expired and unmatched; beside the drawing or named;
    and files that are refused."""
    today = datetime.datetime.now(datetime.timezone.utc).date()
    future, past = str(today + datetime.timedelta(days=30)), str(today - datetime.timedelta(days=1))
    named = os.path.join(work, "team.waivers.json")
    write_waivers(named, [
        {"fingerprint": fingerprints[("pin.invalid-mate", "X2", "1")], "reason": "X2 is replaced next revision",
         "expires": future},
        {"rule": "pin.missing", "connector": "X1", "identifier": "B", "reason": "B is not wired", "expires": str(today)},
        {"rule": "pin.missing", "connector": "X1", "identifier": "C", "reason": "was accepted once", "expires": past},
        {"rule": "pin.unknown", "connector": "X99", "reason": "a connector long gone"},
        {"rule": "pin.missing", "connector": "X2", "drawing": "another-sheet.dxf", "reason": "other sheet only"},
    ])
    r = run("--catalogue", catalogue, "--waivers", named, "--json", sheet)
    document = valid_json(r, "waivers")
    if document:
        drawing = document["drawings"][0]
        waived = {(f["rule"], f["connector"], f["identifier"]): f["waived"] for f in drawing["findings"] if f["waived"]}
        expect(set(waived) == {("pin.invalid-mate", "X2", "1"), ("pin.missing", "X1", "B")},
               f"waived findings (an expiry day still waives, the day after not): {sorted(waived)}")
        expect(waived.get(("pin.missing", "X1", "B"), {}).get("reason") == "B is not wired" and
               waived.get(("pin.missing", "X1", "B"), {}).get("entry") == 2, f"the waiver named: {waived}")
        expect(drawing["outcome"]["waived"] == 2 and drawing["outcome"]["errors"] == 4 and r.returncode == 1,
               f"other errors still fail: exit {r.returncode}, {drawing['outcome']}")
        states = [(w["entry"], w["state"], w["matched"]) for w in document["waivers"]]
        expect(states == [(1, "used", 1), (2, "used", 1), (3, "expired", 1), (4, "unmatched", 0), (5, "unmatched", 0)],
               f"waiver states: {states}")
    expect(f"waiver 3 expired on {past}" in r.stderr and "waiver 4 matches no finding" in r.stderr,
           f"expired and unmatched waivers on stderr: {r.stderr!r}")

    # Every finding waived: the run passes although waivers are unmatched;
    # the waiver file beside the drawing is found without --waivers.
    beside = sheet + ".waivers.json"
    write_waivers(beside, [{"fingerprint": fp, "reason": "accepted for the prototype"} for fp in fingerprints.values()] +
                  [{"rule": "connector.unchecked", "connector": "X42", "reason": "never placed"}])
    r = run("--catalogue", catalogue, sheet)
    expect(r.returncode == 0 and ": passed, 0 errors, 0 warnings, 6 waived" in r.stdout and
           "matches no finding" in r.stdout, f"all waived: exit {r.returncode}\n{r.stdout}")
    expect("waived: accepted for the prototype" in r.stdout, f"text names the reason:\n{r.stdout}")
    log = valid_sarif(run("--catalogue", catalogue, "--format", "sarif", sheet), "SARIF with waivers")
    if log:
        results = log["runs"][0]["results"]
        expect(len(results) == 6 and all(res["suppressions"][0]["kind"] == "external" and
                                         res["suppressions"][0]["justification"] == "accepted for the prototype"
                                         for res in results), "SARIF suppressions of waived results")
    root = ElementTree.fromstring(run("--catalogue", catalogue, "--format", "junit", sheet).stdout)
    expect(root.get("failures") == "0" and root.get("skipped") == "2" and
           all(c.find("skipped") is not None for c in root.iter("testcase")),
           f"JUnit: waived connectors are skipped: {root.attrib}")
    os.remove(beside)

    refused = [
        ('{"waivers": [\n  {"fingerprint": "ab", "reason": "x"},\n  {"reason": }\n]}', ":3:14: not JSON"),
        ('{"waivers": [{"fingerprint": "ab", "reason": "x", "expiry": "2027-01-01"}]}', 'waiver 1: unknown key "expiry"'),
        ('{"waivers": [{"fingerprint": "ab"}]}', "waiver 1: no reason"),
        ('{"waivers": [{"fingerprint": "ab", "reason": "x"}, {"reason": "y", "rule": "pin.missing"}]}',
         "waiver 2: names no finding"),
        ('{"waivers": [{"rule": "pin.gone", "connector": "X1", "reason": "x"}]}', 'waiver 1: no rule "pin.gone"'),
        ('{"waivers": [{"fingerprint": "ab", "reason": "x", "expires": "2027-02-30"}]}', "YYYY-MM-DD"),
        ('{"waivers": [{"fingerprint": "ab", "reason": "x", "expires": 20270101}]}', '"expires" is not a string'),
        ('[{"fingerprint": "ab", "reason": "x"}]', "not a waiver file"),
    ]
    bad = os.path.join(work, "bad.waivers.json")
    for text, words in refused:
        with open(bad, "w") as f:
            f.write(text)
        for args in (["--waivers", bad, sheet], [bad[:-len(".waivers.json")]]):
            if args[0] != "--waivers":
                shutil.copy(sheet, args[0])
            r = run("--catalogue", catalogue, *args)
            expect(r.returncode == 2 and r.stdout == "" and bad in r.stderr and words in r.stderr,
                   f"waiver file {text!r} ({args[0]}): exit {r.returncode}, {r.stderr!r}")
    r = run("--catalogue", catalogue, "--waivers", os.path.join(work, "none.json"), sheet)
    expect(r.returncode == 2 and "none.json" in r.stderr, f"missing waiver file: {r.returncode} {r.stderr!r}")


def baseline(catalogue, work):
    """Only findings that the baseline report does not hold fail the run;
    fingerprints survive an unrelated edit of the drawing."""
    folder = os.path.join(work, "baseline")
    os.makedirs(folder, exist_ok=True)
    pin_drawing(os.path.join(folder, "sheet.dxf"), SHEET)
    r = run("--catalogue", catalogue, "--json", "-o", "old.json", "sheet.dxf", cwd=folder)
    expect(r.returncode == 1, f"the baseline run: exit {r.returncode} {r.stderr}")

    # The same drawing: nothing new, exit 0, every finding unchanged.
    r = run("--catalogue", catalogue, "--baseline", "old.json", "--json", "sheet.dxf", cwd=folder)
    document = valid_json(r, "baseline, same drawing")
    if document:
        states = {f["baseline"] for f in document["drawings"][0]["findings"]}
        expect(r.returncode == 0 and states == {"unchanged"} and document["baseline"] == "old.json" and
               document["drawings"][0]["outcome"]["unchanged"] == 6,
               f"same drawing against its baseline: exit {r.returncode}, {states}")

    # An unrelated edit (a line first, so every handle moves): still nothing new.
    doc = ezdxf.readfile(os.path.join(folder, "sheet.dxf"))
    edited = ezdxf.new("R2013")
    edited.appids.new("ZR_PINO")
    edited.blocks.new("PIN-A").add_attdef("ID_PINO", (0, 0))
    edited.modelspace().add_line((0, 0), (200, 50))
    edited.modelspace().add_circle((50, 50), 5)
    for ref in doc.modelspace().query("INSERT"):
        copy = edited.modelspace().add_blockref("PIN-A", ref.dxf.insert, dxfattribs={"layer": ref.dxf.layer})
        copy.add_attrib("ID_PINO", ref.get_attrib_text("ID_PINO"), ref.dxf.insert)
        copy.set_xdata("ZR_PINO", ref.get_xdata("ZR_PINO"))
    edited.saveas(os.path.join(folder, "sheet.dxf"))
    r = run("--catalogue", catalogue, "--baseline", "old.json", "sheet.dxf", cwd=folder)
    expect(r.returncode == 0 and "6 in the baseline" in r.stdout,
           f"an unrelated edit keeps the fingerprints: exit {r.returncode}\n{r.stdout}")

    # One new problem (an unknown pin 8 on X1) and one fixed (X2's pin 2
    # drawn): exit 1 naming the new finding only.
    pin_drawing(os.path.join(folder, "sheet.dxf"), SHEET + [("X1", "CM03M", "8", 40, 40, "ESQ"),
                                                            ("X2", "AM02F", "2", 80, 80, "ESQ")])
    r = run("--catalogue", catalogue, "--baseline", "old.json", "--json", "sheet.dxf", cwd=folder)
    document = valid_json(r, "baseline, one new finding")
    if document:
        drawing = document["drawings"][0]
        new = keys(drawing, baseline="new")
        expect(r.returncode == 1 and new == {("pin.unknown", "X1", "8")}, f"the new finding: exit {r.returncode}, {new}")
        expect(drawing["outcome"]["fixed"] == 1 and drawing["outcome"]["unchanged"] == 5,
               f"fixed since the baseline: {drawing['outcome']}")
    text = run("--catalogue", catalogue, "--baseline", "old.json", "sheet.dxf", cwd=folder).stdout
    new_lines = [line for line in text.splitlines() if line.endswith(", new)")]
    expect(len(new_lines) == 1 and "pin 8" in new_lines[0], f"text names the new finding only: {new_lines}")
    log = valid_sarif(run("--catalogue", catalogue, "--baseline", "old.json", "--format", "sarif", "sheet.dxf",
                          cwd=folder), "SARIF with a baseline")
    if log:
        states = sorted(res["baselineState"] for res in log["runs"][0]["results"])
        expect(states == ["new"] + ["unchanged"] * 5, f"SARIF baseline states: {states}")
        expect(log["runs"][0]["artifacts"][0]["location"]["uri"] == "sheet.dxf", "a relative path stays relative")

    # A baseline that is no zrcheck report stops the run.
    refused = [("{\n  \"tool\": \"zrcheck\",\n  \"drawings\": [,]\n}", "bad.json:3:16: not JSON"),
               ('{"tool": "other", "drawings": []}', "not a zrcheck JSON report"),
               ('{"tool": "zrcheck", "drawings": [{"path": "a.dxf", "findings": [{"rule": "pin.missing"}]}]}',
                "drawing 1: a finding without a fingerprint")]
    for text, words in refused:
        with open(os.path.join(folder, "bad.json"), "w") as f:
            f.write(text)
        r = run("--catalogue", catalogue, "--baseline", "bad.json", "sheet.dxf", cwd=folder)
        expect(r.returncode == 2 and r.stdout == "" and words in r.stderr,
               f"baseline {text[:40]!r}: exit {r.returncode}, {r.stderr!r}")
    r = run("--catalogue", catalogue, "--baseline", "missing.json", "sheet.dxf", cwd=folder)
    expect(r.returncode == 2 and "missing.json" in r.stderr, f"missing baseline: {r.returncode} {r.stderr!r}")


def main():
    global run
    zrcheck, examples, work = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
    run = runner(zrcheck)
    fresh_folder(work)
    catalogue = build_catalogue(examples, os.path.join(work, "catalogo.db"))
    sheet = os.path.join(work, "sheet.dxf")
    pin_drawing(sheet, SHEET)
    clean = os.path.join(work, "clean.dxf")
    pin_drawing(clean, [("X1", "CM03M", p, 10, 10 + i, "ESQ") for i, p in enumerate("ABC")] +
                [("X2", "CM03F", p, 10, 10 + i, "ESQ") for i, p in enumerate("ABC")])

    document = valid_json(run("--catalogue", catalogue, "--json", sheet), "the sheet")
    fingerprints = {(f["rule"], f["connector"], f["identifier"]): f["fingerprint"]
                    for f in document["drawings"][0]["findings"]} if document else {}
    formats(catalogue, work, sheet, clean)
    severities(catalogue, work, sheet)
    if fingerprints:
        waivers(catalogue, work, sheet, fingerprints)
    baseline(catalogue, work)

    return finish("zrcheck report")


if __name__ == "__main__":
    sys.exit(main())
