#!/usr/bin/python3
"""Round trip of one drawing through zrdxf, checked with ezdxf.

    roundtrip_check.py ZRDXF IN.dxf WORKDIR

1. zrdxf roundtrip IN.dxf WORKDIR/out1.dxf
2. zrdxf roundtrip WORKDIR/out1.dxf WORKDIR/out2.dxf
3. out1 and out2 must be byte-identical (writing is stable)
4. dxf_compare IN.dxf out1.dxf must find nothing (everything ezdxf sees
   was kept), and a THUMBNAILIMAGE section, which ezdxf skips, must be
   kept tag for tag
5. the tags of IN and out1 must be the same, group by group, so that what
   neither zrdxf's model nor ezdxf interprets is kept too; only comments
   (999), the padding of group codes, line ends and the spelling of a
   floating-point number (same value) may differ
6. zrdxf info IN.dxf and zrdxf info IN.dxf --json succeed, the latter
   printing valid JSON
7. zrdxf audit IN.dxf and zrdxf audit out1.dxf answer (exit 0 or 1), and
   out1 has no finding that IN does not have (lines aside): writing never
   makes a drawing worse

Prints what went wrong; exits 0 when all checks pass, 1 otherwise.
"""

import difflib
import json
import os
import subprocess
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import dxf_compare  # noqa: E402

TIMEOUT = 300  # seconds; the sanitizer build is slow, a hang must still end


def run(command):
    try:
        return subprocess.run(command, capture_output=True, timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        return None


def report_run(what, result):
    """True when the command succeeded; otherwise prints why."""
    if result is None:
        print(f"FAIL {what}: no answer after {TIMEOUT} s")
        return False
    if result.returncode != 0:
        print(f"FAIL {what}: exit status {result.returncode}")
        sys.stdout.write(result.stderr.decode("utf-8", "replace"))
        return False
    return True


def first_difference(path_a, path_b):
    """Describes the first differing line of two files, or None if equal."""
    with open(path_a, "rb") as fa, open(path_b, "rb") as fb:
        a, b = fa.read(), fb.read()
    if a == b:
        return None
    lines_a, lines_b = a.split(b"\n"), b.split(b"\n")
    for number, (la, lb) in enumerate(zip(lines_a, lines_b), start=1):
        if la != lb:
            return f"line {number}: {la!r} -> {lb!r}"
    return f"lengths differ: {len(lines_a)} lines -> {len(lines_b)} lines"


def raw_section(path, name):
    """The (code, value) pairs of a section as written, or None if absent.
    Values keep their spaces; only the line end and the padding of group
    codes are removed."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    lines = [line[:-1] if line.endswith(b"\r") else line for line in lines]
    pairs = list(zip(lines[0::2], lines[1::2]))
    for i in range(len(pairs) - 1):
        if pairs[i][1] == b"SECTION" and pairs[i + 1][1] == name.encode():
            section = []
            for code, value in pairs[i:]:
                section.append((code.strip(), value))
                if value == b"ENDSEC" and code.strip() == b"0":
                    return section
            return section
    return None


def _is_float_code(code):
    return (10 <= code <= 59 or 110 <= code <= 149 or 210 <= code <= 239
            or 460 <= code <= 469 or 1010 <= code <= 1059)


def raw_tags(path):
    """[(code, value bytes, line number)] of the file, without comments."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    lines = [line[:-1] if line.endswith(b"\r") else line for line in lines]
    tags = []
    for i in range(0, len(lines) - 1, 2):
        try:
            code = int(lines[i])
        except ValueError:
            code = lines[i]
        if code != 999:
            tags.append((code, lines[i + 1], i + 1))
    return tags


def _key(tag):
    """What must stay the same of a group: its code and its value, where a
    floating-point value counts by the number it spells."""
    code, value, _ = tag
    if isinstance(code, int) and _is_float_code(code):
        try:
            return code, float(value)
        except ValueError:
            pass
    return code, value


def tag_differences(path_a, path_b, limit=10):
    """Messages for groups that differ between two files (at most limit)."""
    tags_a, tags_b = raw_tags(path_a), raw_tags(path_b)
    keys_a, keys_b = [_key(t) for t in tags_a], [_key(t) for t in tags_b]
    if keys_a == keys_b:
        return []
    out = []
    matcher = difflib.SequenceMatcher(a=keys_a, b=keys_b, autojunk=False)
    for op, i1, i2, j1, j2 in matcher.get_opcodes():
        if op == "equal":
            continue
        if len(out) == limit:
            out.append("... more groups differ")
            break
        old = [(code, value) for code, value, _ in tags_a[i1:i2]][:6]
        new = [(code, value) for code, value, _ in tags_b[j1:j2]][:6]
        where_a = f"line {tags_a[i1][2]}" if i1 < len(tags_a) else "the end"
        where_b = f"line {tags_b[j1][2]}" if j1 < len(tags_b) else "the end"
        if op == "replace":
            out.append(f"groups at {where_a} {old} became, at {where_b}, {new}")
        elif op == "delete":
            out.append(f"groups at {where_a} were dropped: {old}")
        else:
            out.append(f"groups were added at {where_b}: {new}")
    return out


def audit_findings(zrdxf, path):
    """The findings of zrdxf audit without their numbers and lines, or None
    (after printing why) when the audit does not answer 0 or 1."""
    result = run([zrdxf, "audit", path])
    if result is None or result.returncode not in (0, 1):
        status = "no answer" if result is None else f"exit status {result.returncode}"
        print(f"FAIL zrdxf audit {path}: {status}")
        if result is not None:
            sys.stdout.write(result.stderr.decode("utf-8", "replace"))
        return None
    lines = result.stdout.decode("utf-8", "replace").splitlines()
    findings = []
    for line in lines[:-1]:
        # "N. line L: KIND HANDLE: message"
        parts = line.split(": ", 1)
        findings.append(parts[1] if len(parts) == 2 else line)
    return sorted(findings)


def check_audit(zrdxf, source, out1):
    """True when out1 audits no worse than source; otherwise prints why."""
    before = audit_findings(zrdxf, source)
    after = audit_findings(zrdxf, out1)
    if before is None or after is None:
        return False
    remaining = list(before)
    ok = True
    for finding in after:
        if finding in remaining:
            remaining.remove(finding)
        else:
            print(f"FAIL {out1} has a finding {source} does not have: {finding}")
            ok = False
    return ok


def main(argv):
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    zrdxf, source, workdir = argv[1:]
    os.makedirs(workdir, exist_ok=True)
    out1 = os.path.join(workdir, "out1.dxf")
    out2 = os.path.join(workdir, "out2.dxf")
    for stale in (out1, out2):
        if os.path.exists(stale):
            os.remove(stale)

    ok = report_run(f"zrdxf roundtrip {source} {out1}", run([zrdxf, "roundtrip", source, out1]))
    if ok:
        ok = report_run(f"zrdxf roundtrip {out1} {out2}", run([zrdxf, "roundtrip", out1, out2]))
        if ok:
            difference = first_difference(out1, out2)
            if difference:
                print(f"FAIL writing again changed the file: {out1} -> {out2} at {difference}")
                ok = False
        differences = dxf_compare.diff_files(source, out1)
        for message in differences:
            print(f"FAIL {message}")
        if differences:
            print(f"FAIL {len(differences)} difference(s) between {source} and {out1}")
            ok = False
        for message in tag_differences(source, out1):
            print(f"FAIL {message} ({source} -> {out1})")
            ok = False
        thumbnail = raw_section(source, "THUMBNAILIMAGE")
        if thumbnail is not None and raw_section(out1, "THUMBNAILIMAGE") != thumbnail:
            print(f"FAIL the THUMBNAILIMAGE section of {source} was not kept in {out1}")
            ok = False
        ok = check_audit(zrdxf, source, out1) and ok

    ok = report_run(f"zrdxf info {source}", run([zrdxf, "info", source])) and ok
    info = run([zrdxf, "info", source, "--json"])
    if report_run(f"zrdxf info {source} --json", info):
        try:
            json.loads(info.stdout.decode("utf-8"))
        except ValueError as exc:
            print(f"FAIL zrdxf info --json printed invalid JSON: {exc}")
            ok = False
    else:
        ok = False

    print("round trip OK" if ok else f"round trip of {source} FAILED")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
