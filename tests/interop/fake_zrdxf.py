#!/usr/bin/python3
"""A stand-in for zrdxf, used only to test the test harness itself.

    fake_zrdxf.py roundtrip IN OUT | info IN [--json]

It checks its input the way zrdxf must (exit 2 with "FILE: line N: ..."),
then copies the file. ZR_FAKE_MODE makes it misbehave on purpose, so the
harness tests can show that each misbehaviour is caught:
  copy (default)   lossless copy, written atomically
  accept           no input checks at all
  early-output     creates OUT before checking the input
  lossy            rewrites the file through ezdxf (time stamps change)
  unstable         adds a comment that differs on every run
  drop-thumbnail   leaves out the THUMBNAILIMAGE section
"""

import json
import os
import sys
import time

KNOWN_SECTIONS = {"HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS",
                  "THUMBNAILIMAGE", "ACDSDATA"}


class BadInput(Exception):
    def __init__(self, line, text):
        super().__init__(text)
        self.line = line


def read_pairs(path):
    """[(code, value, line of the code)] of an ASCII drawing, checked."""
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"AutoCAD Binary DXF"):
        raise BadInput(1, "binary DXF is not read; save the drawing as ASCII DXF")
    if not data:
        raise BadInput(1, "empty file")
    lines = data.decode("utf-8", "surrogateescape").split("\n")
    if lines[-1] == "":
        lines.pop()
    lines = [line[:-1] if line.endswith("\r") else line for line in lines]
    pairs = []
    for i in range(0, len(lines), 2):
        try:
            code = int(lines[i])
        except ValueError:
            raise BadInput(i + 1, f"group code {lines[i].strip()!r} is not a number")
        if i + 1 == len(lines):
            raise BadInput(i + 1, "group code without a value: unexpected end of file")
        pairs.append((code, lines[i + 1], i + 1))
    if not pairs or pairs[-1][:2] != (0, "EOF"):
        raise BadInput(len(lines), "unexpected end of file: no EOF")
    return pairs


def check(pairs):
    handles, owners = set(), []
    owner_pending = False
    in_group = False
    for index, (code, value, line) in enumerate(pairs):
        if code == 9 and value == "$ACADVER" and pairs[index + 1][1] < "AC1015":
            raise BadInput(pairs[index + 1][2], f"DXF version {pairs[index + 1][1]} is not read;"
                           " versions AC1015 (R2000) to AC1032 are")
        if code == 0 and value == "SECTION" and pairs[index + 1][1] not in KNOWN_SECTIONS:
            raise BadInput(pairs[index + 1][2], f"unknown section {pairs[index + 1][1]}")
        if code == 0:
            owner_pending = False
        elif code in (5, 105):
            handles.add(value)
            owner_pending = True
        elif code == 102:
            in_group = value.startswith("{")
        elif code == 330 and owner_pending and not in_group:
            owners.append((value, line))
            owner_pending = False
    for owner, line in owners:
        if owner != "0" and owner not in handles:
            raise BadInput(line, f"owner handle {owner} does not exist")


def roundtrip(source, target, mode):
    if mode == "early-output":
        open(target, "wb").close()
    if mode != "accept":
        check(read_pairs(source))
    temporary = target + ".tmp"
    if mode == "lossy":
        import ezdxf
        ezdxf.readfile(source).saveas(temporary)
    else:
        with open(source, "rb") as f:
            data = f.read()
        if mode == "add-finding":
            data = data.replace(b"EOF", b"EOF\n999\nZR_FAKE_FINDING", 1)
        if mode == "unstable":
            data = f"999\n{time.time_ns()}\n".encode() + data
        if mode == "drop-thumbnail" and b"THUMBNAILIMAGE" in data:
            start = data.index(b"THUMBNAILIMAGE")
            start = data.rindex(b"SECTION", 0, start)
            start = data.rindex(b"\n", 0, data.rindex(b"\n", 0, start)) + 1
            end = data.index(b"ENDSEC", start)
            end = data.index(b"\n", end) + 1
            data = data[:start] + data[end:]
        with open(temporary, "wb") as f:
            f.write(data)
    os.replace(temporary, target)


def main(argv):
    mode = os.environ.get("ZR_FAKE_MODE", "copy")
    try:
        if argv[1] == "roundtrip" and len(argv) == 4:
            roundtrip(argv[2], argv[3], mode)
        elif argv[1] == "info" and len(argv) in (3, 4):
            pairs = read_pairs(argv[2])
            counts = {}
            for code, value, _ in pairs:
                if code == 0:
                    counts[value] = counts.get(value, 0) + 1
            print(json.dumps(counts) if argv[3:] == ["--json"] else counts)
        elif argv[1] == "audit" and len(argv) == 3:
            # Reports a finding for the marker that mode "add-finding" writes.
            with open(argv[2], "rb") as f:
                if b"ZR_FAKE_FINDING" in f.read():
                    print("1. line 1: LINE 2F: owner 9A does not exist\n1 finding")
                    return 1
            print("no findings")
        else:
            print("usage: fake_zrdxf.py roundtrip IN OUT | info IN [--json] | audit IN", file=sys.stderr)
            return 2
    except BadInput as error:
        print(f"{argv[2]}: line {error.line}: {error}", file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
