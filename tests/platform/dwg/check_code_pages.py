#!/usr/bin/python3
"""Bytes 0x80-0x9F, where the ANSI code pages differ from Latin-1 and from
each other, read and write as each code page says.

    check_code_pages.py DWG_CODEPAGE_SAMPLE WORKDIR

For every ANSI code page the reader supports, ezdxf writes an R2000 drawing
with $DWGCODEPAGE set and two TEXTs (whose values are then put in as the code
page's bytes, as a program of that code page writes them): every character whose code-page bytes
use 0x80-0x9F (a single byte, or the lead byte of a pair), and a short text.
DWG_CODEPAGE_SAMPLE reads it, prints both texts and puts the first text's
characters, reversed, into the first TEXT. Checks: the texts read are what
Python's codec decodes; the edited text is written in the code page's bytes
(not as escapes), ezdxf reads it back, and the second TEXT is unchanged."""

import os
import subprocess
import sys

import ezdxf

# $DWGCODEPAGE and Python's codec (as ezdxf maps them).
CODE_PAGES = [("ANSI_874", "cp874"), ("ANSI_1250", "cp1250"), ("ANSI_1251", "cp1251"), ("ANSI_1252", "cp1252"),
              ("ANSI_1253", "cp1253"), ("ANSI_1254", "cp1254"), ("ANSI_1255", "cp1255"), ("ANSI_1256", "cp1256"),
              ("ANSI_1257", "cp1257"), ("ANSI_1258", "cp1258"), ("ANSI_932", "cp932"), ("ANSI_936", "gbk"),
              ("ANSI_949", "cp949"), ("ANSI_950", "cp950")]


def high_characters(codec):
    """Characters whose bytes in this code page start with 0x80-0x9F: the
    byte alone when it is a character, else the first pair it leads."""
    out = []
    for lead in range(0x80, 0xA0):
        try:
            out.append(bytes([lead]).decode(codec))
            continue
        except UnicodeDecodeError:
            pass
        for trail in list(range(0x40, 0x7F)) + list(range(0x80, 0xFF)):
            try:
                ch = bytes([lead, trail]).decode(codec)
            except UnicodeDecodeError:
                continue
            if len(ch) == 1 and ch.encode(codec) == bytes([lead, trail]):
                out.append(ch)
                break
    # Only characters that go back to the same bytes (one-way mappings aside).
    return "".join(c for c in out if c.encode(codec)[0] in range(0x80, 0xA0) and c != "\ufffd")


def main(argv):
    sample, work = argv[1], argv[2]
    os.makedirs(work, exist_ok=True)
    failures = 0
    for dwg_code_page, codec in CODE_PAGES:
        chars = high_characters(codec)
        edited = chars[::-1] + " ok"
        doc = ezdxf.new("R2000")
        msp = doc.modelspace()
        first = msp.add_text("ZR_FIRST_TEXT").dxf.handle
        second = msp.add_text("ZR_SECOND_TEXT").dxf.handle
        src = os.path.join(work, f"{dwg_code_page}.dxf")
        out = os.path.join(work, f"{dwg_code_page}_out.dxf")
        doc.saveas(src)
        raw = open(src, "rb").read()
        # ezdxf writes the header from its own encoding: name the code page in the text.
        raw = raw.replace(b"\n  3\nANSI_1252\n", b"\n  3\n" + dwg_code_page.encode() + b"\n", 1)
        raw = raw.replace(b"ZR_FIRST_TEXT", chars.encode(codec))
        raw = raw.replace(b"ZR_SECOND_TEXT", ("fixo " + chars[:3]).encode(codec))
        with open(src, "wb") as f:
            f.write(raw)
        if ezdxf.readfile(src).entitydb[first].dxf.text != chars:
            print(f"FAIL {dwg_code_page}: ezdxf does not read the drawing as made")
            failures += 1
            continue
        result = subprocess.run([sample, src, out, edited.encode("utf-8").hex()], capture_output=True, timeout=300)
        if result.returncode != 0:
            print(f"FAIL {dwg_code_page}: exit {result.returncode}: {result.stderr.decode(errors='replace')}")
            failures += 1
            continue
        read = {}
        for line in result.stdout.decode().splitlines():
            handle, text = line.split(" ")
            read[handle] = bytes.fromhex(text).decode("utf-8")
        problems = []
        if read.get(first) != chars:
            problems.append(f"read {read.get(first)!r}, expected {chars!r}")
        written = open(out, "rb").read()
        if edited.encode(codec) not in written:
            problems.append("the edited text is not in the code page's bytes")
        if b"\\U+" in written:
            problems.append("escapes written for characters the code page holds")
        back = ezdxf.readfile(out)
        if back.entitydb[first].dxf.text != edited:
            problems.append(f"ezdxf reads {back.entitydb[first].dxf.text!r}, expected {edited!r}")
        if back.entitydb[second].dxf.text != "fixo " + chars[:3]:
            problems.append("the unedited TEXT changed")
        for p in problems:
            print(f"FAIL {dwg_code_page} ({len(chars)} characters): {p}")
        failures += len(problems)
    print(f"{failures} failures" if failures else f"{len(CODE_PAGES)} code pages checked")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
