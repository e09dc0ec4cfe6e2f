#!/usr/bin/python3
"""zrdxf must refuse bad drawings cleanly.

    bad_inputs.py ZRDXF WORKDIR [NAME...]    runs the cases (all by default)
    bad_inputs.py --list                     prints the case names

For every case, `zrdxf roundtrip BAD.dxf OUT.dxf` must exit with status 2,
print on standard error a message that names the input file, the line
(as "line N" or "FILE:N:") and what is wrong, and leave OUT.dxf alone:
not created when it did not exist, unchanged when it did. Nothing else may
appear in the output folder (no temporary file left behind).
"""

import io
import os
import re
import subprocess
import sys
from collections import namedtuple

TIMEOUT = 120

# words: each entry is a tuple of alternatives, one of which must appear in
# the message (case-insensitive); lines: the line numbers accepted.
Case = namedtuple("Case", "name data words lines")


def _valid_drawing(version="R2013"):
    """Lines (without line ends) of a small valid drawing made by ezdxf."""
    import ezdxf
    ezdxf.options.write_fixed_meta_data_for_testing = True
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    msp.add_line((0, 0), (1, 1))
    msp.add_text("texto")
    stream = io.StringIO()
    doc.write(stream)
    return stream.getvalue().split("\n")[:-1]


def _join(lines):
    return ("\n".join(lines) + "\n").encode("utf-8")


def _find_pair(lines, code, value, start=0):
    """Index of the group code line of the first (code, value) pair."""
    for i in range(start - start % 2, len(lines) - 1, 2):
        if lines[i].strip() == code and lines[i + 1] == value:
            return i
    raise ValueError(f"({code}, {value}) not in the drawing")


def cases():
    lines = _valid_drawing()
    entities = _find_pair(lines, "2", "ENTITIES")
    line_entity = _find_pair(lines, "0", "LINE", entities)  # index of "  0"
    end_of_file = len(lines) - 2  # index of the "  0" before "EOF"
    found = []

    # Cut after a complete tag in the middle of the ENTITIES section.
    cut = line_entity + 6
    found.append(Case("truncated", _join(lines[:cut]),
                      [("end of file", "truncated", "unexpected end", "file ends")], {cut, cut + 1}))

    # Cut inside a handle's value, which has no line end.
    partial = _join(lines[:line_entity + 3]) + lines[line_entity + 3][:1].encode()
    found.append(Case("truncated_inside_tag", partial,
                      [("end of file", "truncated", "unexpected end", "file ends")],
                      {line_entity + 4, line_entity + 5}))

    bad_code = list(lines)
    bad_code[line_entity + 2] = "  X5"
    found.append(Case("non_numeric_group_code", _join(bad_code),
                      [("group code",), ("X5",)], {line_entity + 3}))

    # The last group code has no value: the file has an odd number of lines.
    odd = lines[:-1]
    found.append(Case("odd_number_of_lines", _join(odd),
                      [("value", "odd", "end of file", "truncated", "file ends")],
                      {len(odd), len(odd) + 1}))

    unknown = (lines[:end_of_file] + ["  0", "SECTION", "  2", "ZRUNKNOWN", "  0", "ENDSEC"]
               + lines[end_of_file:])
    found.append(Case("unknown_section", _join(unknown), [("ZRUNKNOWN",), ("section",)],
                      set(range(end_of_file + 1, end_of_file + 5))))

    binary = b"AutoCAD Binary DXF\r\n\x1a\x00\x00\x00SECTION\x00\x02\x00HEADER\x00"
    found.append(Case("binary_dxf", binary, [("binary",)], {1}))

    r12 = _valid_drawing("R12")
    version = _find_pair(r12, "1", "AC1009")
    found.append(Case("r12_drawing", _join(r12), [("AC1009",), ("AC1015", "R2000")],
                      {version, version + 1, version + 2}))

    # A dangling owner is no bad input: it is read and kept (dangling_check.py).

    found.append(Case("empty_file", b"", [("empty", "end of file", "truncated")], {0, 1}))
    return found


LINE_PATTERNS = (re.compile(r"line (\d+)", re.I), re.compile(r":(\d+)(?::|\s|$)"))
SENTINEL = b"this output file existed before the failed round trip\n"


def _message_problems(case, path, message):
    problems = []
    if path not in message and os.path.basename(path) not in message:
        problems.append("the message does not name the file")
    # The path holds the case name (which may be a word looked for) and
    # perhaps digits, so the checks below look at the rest of the message.
    rest = message.replace(path, " ").replace(os.path.basename(path), " ")
    numbers = {int(n) for pattern in LINE_PATTERNS for n in pattern.findall(rest)}
    if not numbers & case.lines:
        problems.append(f"the message names no line in {sorted(case.lines)}")
    lowered = rest.lower()
    for alternatives in case.words:
        if not any(word.lower() in lowered for word in alternatives):
            problems.append(f"the message says none of {alternatives}")
    return problems


def check(zrdxf, case, workdir):
    """Problems found for one case (empty when zrdxf behaved)."""
    folder = os.path.join(workdir, case.name)
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        os.remove(os.path.join(folder, name))
    source = os.path.join(folder, "bad.dxf")
    with open(source, "wb") as f:
        f.write(case.data)
    output = os.path.join(folder, "out.dxf")
    problems = []
    for existed in (False, True):
        if existed:
            with open(output, "wb") as f:
                f.write(SENTINEL)
        when = "with an existing output file" if existed else "without an output file"
        try:
            result = subprocess.run([zrdxf, "roundtrip", source, output],
                                    capture_output=True, timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            return problems + [f"{when}: no answer after {TIMEOUT} s"]
        message = result.stderr.decode("utf-8", "replace")
        if result.returncode != 2:
            problems.append(f"{when}: exit status {result.returncode}, expected 2")
        problems += [f"{when}: {p}" for p in _message_problems(case, source, message)]
        if not existed and os.path.exists(output):
            problems.append(f"{when}: the output file was created")
        if existed and open(output, "rb").read() != SENTINEL:
            problems.append(f"{when}: the existing output file was changed")
        left = sorted(set(os.listdir(folder)) - {"bad.dxf", "out.dxf"})
        if left:
            problems.append(f"{when}: files left behind: {left}")
        if problems:
            problems.append(f"standard error was: {message.strip()!r}")
            break
    return problems


def main(argv):
    if argv[1:] == ["--list"]:
        print("\n".join(c.name for c in cases()))
        return 0
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    zrdxf, workdir, wanted = argv[1], argv[2], set(argv[3:])
    table = [c for c in cases() if not wanted or c.name in wanted]
    unknown = wanted - {c.name for c in table}
    if unknown:
        print(f"bad_inputs: no case named {sorted(unknown)}", file=sys.stderr)
        return 2
    failed = 0
    for case in table:
        problems = check(zrdxf, case, workdir)
        print(f"{'FAIL' if problems else 'ok  '} {case.name}")
        for problem in problems:
            print(f"       {problem}")
        failed += bool(problems)
    print(f"bad_inputs: {len(table) - failed} of {len(table)} cases refused correctly")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
