#!/usr/bin/python3
"""Round trip of one drawing through zrdxf, checked with ezdxf.

    roundtrip_check.py ZRDXF IN.dxf WORKDIR

1. zrdxf roundtrip IN.dxf WORKDIR/out1.dxf
2. zrdxf roundtrip WORKDIR/out1.dxf WORKDIR/out2.dxf
3. out1 and out2 must be byte-identical (writing is stable)
4. dxf_compare IN.dxf out1.dxf must find nothing (everything ezdxf sees
   was kept), and a THUMBNAILIMAGE section, which ezdxf skips, must be
   kept tag for tag
5. zrdxf info IN.dxf and zrdxf info IN.dxf --json succeed, the latter
   printing valid JSON

Prints what went wrong; exits 0 when all checks pass, 1 otherwise.
"""

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
        thumbnail = raw_section(source, "THUMBNAILIMAGE")
        if thumbnail is not None and raw_section(out1, "THUMBNAILIMAGE") != thumbnail:
            print(f"FAIL the THUMBNAILIMAGE section of {source} was not kept in {out1}")
            ok = False

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
