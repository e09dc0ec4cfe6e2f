#!/usr/bin/python3
"""Drawings written by ezdxf with the dangling references other programs
leave behind, through zrdxf, checked with ezdxf.

    dangling_check.py ZRDXF WORKDIR [--corpus DIR]

For each kind of dangling reference (a block without its BLOCK_RECORD among
them), each version from R2000 to R2018 and
both line ends:
1. zrdxf roundtrip writes the drawing back byte for byte;
2. ezdxf sees nothing changed (dxf_compare);
3. zrdxf audit exits 1 and reports the reference, naming the line of its tag;
4. zrdxf audit --fix OUT writes a copy that ezdxf reads, leaves the drawing
   as it was, and (for what --fix repairs) audits clean.
With --corpus, the R2000 LF drawings are also written to DIR, named by the
SHA-1 of their bytes (the fuzz corpus's naming).

Prints what went wrong; exits 0 when all checks pass, 1 otherwise.
"""

import hashlib
import os
import re
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import ezdxf  # noqa: E402

import dxf_compare  # noqa: E402
from roundtrip_check import run  # noqa: E402  (bounded by its timeout)

VERSIONS = ("R2000", "R2004", "R2007", "R2010", "R2013", "R2018")
MISSING = "FFFFF0"  # a handle no drawing here holds


def base_drawing(version):
    """An ezdxf drawing with a LINE, a block reference and an XRECORD."""
    doc = ezdxf.new(version)
    doc.appids.add("ZR_PINO")
    msp = doc.modelspace()
    line = msp.add_line((0, 0), (1, 1))
    block = doc.blocks.new("PIN-A")
    block.add_line((0, 0), (1, 0))
    ref = msp.add_blockref("PIN-A", (2, 2))
    ref.set_xdata("ZR_PINO", [(1000, "X1"), (1000, "C"), (1000, "S")])
    xrecord = doc.rootdict.add_xrecord("ZR_DADOS")
    xrecord.extend([(1, "dados")])
    return doc, line.dxf.handle, ref.dxf.handle, xrecord.dxf.handle, block.block_record.dxf.handle


def text_of(doc):
    import io
    stream = io.StringIO()
    doc.write(stream)
    return stream.getvalue()


def object_span(lines, handle):
    """(start, end) line indexes of the object with this handle: start is its
    "0" code line, end the next "0" code line."""
    for i in range(2, len(lines) - 1, 2):
        if lines[i].strip() in ("5", "105") and lines[i + 1] == handle and lines[i - 2].strip() == "0":
            start = i - 2
            end = start + 2
            while lines[end].strip() != "0":
                end += 2
            return start, end
    raise AssertionError(f"handle {handle} not found")


def insert_after_handle(lines, handle, tags):
    start, _ = object_span(lines, handle)
    lines[start + 4:start + 4] = tags
    return start + 4


def kinds():
    """(name, edit, fixed): edit(lines, handles) changes the text and returns the
    line index (from 0) of the dangling tag's group code and its finding."""
    def owner_of_entity(lines, h):
        start, _ = object_span(lines, h["line"])
        at = start + 4
        while lines[at].strip() != "330":
            at += 2
        lines[at + 1] = MISSING
        return at, f"LINE {h['line']}: owner {MISSING} does not exist"

    def owner_of_block(lines, h):
        # The BLOCK of PIN-A names a record handle that was never written.
        for i in range(0, len(lines) - 3, 2):
            if lines[i].strip() == "0" and lines[i + 1] == "BLOCK":
                start, end = i, i + 2
                while lines[end].strip() != "0":
                    end += 2
                body = lines[start:end]
                if "PIN-A" in body:
                    at = start + body.index("330")
                    block = lines[start + 3]
                    lines[at + 1] = MISSING
                    return at, f"BLOCK {block}: owner {MISSING} does not exist"
        raise AssertionError("no BLOCK PIN-A")

    def dictionary_entry(lines, h):
        start, end = object_span(lines, h["root"])
        at = lines.index("ZR_DADOS", start) - 1
        lines[at:at] = ["  3", "REMOVIDO", "350", MISSING]
        return at, f'DICTIONARY {h["root"]}: entry "REMOVIDO" refers to handle {MISSING}, which does not exist'

    def reactor(lines, h):
        at = insert_after_handle(lines, h["line"], ["102", "{ACAD_REACTORS", "330", MISSING, "102", "}"])
        return at + 2, f"LINE {h['line']}: reactor {MISSING} does not exist"

    def xdata_pointer(lines, h):
        _, end = object_span(lines, h["ref"])
        lines[end:end] = ["1005", MISSING]
        return end, f'INSERT {h["ref"]}: extended data of application "ZR_PINO" points to handle {MISSING}, which does not exist'

    def xrecord_pointer(lines, h):
        _, end = object_span(lines, h["xrecord"])
        lines[end:end] = ["340", MISSING]
        return end, f"XRECORD {h['xrecord']}: pointer {MISSING} (group code 340) does not exist"

    def unknown_object(lines, h):
        # The XRECORD becomes an object of a kind neither reader knows.
        start, end = object_span(lines, h["xrecord"])
        lines[start + 1] = "ZRCUSTOMOBJECT"
        lines[end:end] = ["360", MISSING]
        return end, f"ZRCUSTOMOBJECT {h['xrecord']}: pointer {MISSING} (group code 360) does not exist"

    def block_without_record(lines, h):
        # PIN-A's BLOCK_RECORD was never written: its BLOCK, its entities and
        # its ENDBLK name a record the drawing does not hold.
        start, end = object_span(lines, h["record"])
        del lines[start:end]
        for i in range(0, len(lines) - 3, 2):
            if lines[i].strip() == "0" and lines[i + 1] == "BLOCK":
                end = i + 2
                while lines[end].strip() != "0":
                    end += 2
                if "PIN-A" in lines[i:end]:
                    return i, f'BLOCK {lines[i + 3]}: the block "PIN-A" has no BLOCK_RECORD table entry'
        raise AssertionError("no BLOCK PIN-A")

    return [
        ("owner_of_entity", owner_of_entity, True),
        ("block_without_record", block_without_record, True),
        ("owner_of_block", owner_of_block, True),
        ("dictionary_entry", dictionary_entry, True),
        ("reactor", reactor, True),
        ("xdata_pointer", xdata_pointer, False),
        ("xrecord_pointer", xrecord_pointer, False),
        ("unknown_object", unknown_object, False),
    ]


class Checker:
    def __init__(self, zrdxf, work):
        self.zrdxf, self.work, self.failures = zrdxf, work, 0

    def fail(self, where, message):
        self.failures += 1
        print(f"FAIL {where}: {message}")

    def check(self, where, path, finding_line, finding, fixed):
        original = open(path, "rb").read()
        out = os.path.join(self.work, "out.dxf")
        fixed_path = os.path.join(self.work, "fixed.dxf")
        for stale in (out, fixed_path):
            if os.path.exists(stale):
                os.remove(stale)
        r = run([self.zrdxf, "roundtrip", path, out])
        if r is None or r.returncode != 0:
            self.fail(where, f"roundtrip: {r and r.stderr.decode('utf-8', 'replace')}")
            return
        if open(out, "rb").read() != original:
            self.fail(where, "written back with changes")
        differences = dxf_compare.diff_files(path, out)
        if differences:
            self.fail(where, f"ezdxf sees differences: {differences[:3]}")
        r = run([self.zrdxf, "audit", path])
        text = r.stdout.decode("utf-8", "replace") if r else ""
        if r is None or r.returncode != 1:
            self.fail(where, f"audit exit {r and r.returncode}: {text}")
        expected = f"line {finding_line}: {finding}"
        if not re.search(r"^\d+\. " + re.escape(expected) + "$", text, re.M):
            self.fail(where, f"audit lacks {expected!r}:\n{text}")
        r = run([self.zrdxf, "audit", path, "--fix", fixed_path])
        if r is None or r.returncode != 1:
            self.fail(where, f"audit --fix exit {r and r.returncode}: {r and r.stderr}")
            return
        if open(path, "rb").read() != original:
            self.fail(where, "audit --fix changed the drawing")
        try:
            repaired = ezdxf.readfile(fixed_path)
        except Exception as e:  # noqa: BLE001 - any failure of ezdxf is a finding
            self.fail(where, f"ezdxf cannot read the repaired copy: {e}")
            repaired = None
        if repaired is not None and where.startswith("block_without_record"):
            self.check_block_record(where, repaired)
        r = run([self.zrdxf, "audit", fixed_path])
        if fixed and (r is None or r.returncode != 0):
            self.fail(where, f"the repaired copy still has findings:\n{r and r.stdout.decode()}")
        if not fixed and (r is None or finding not in r.stdout.decode("utf-8", "replace")):
            self.fail(where, "a reference --fix keeps is no longer reported in the copy")


    def check_block_record(self, where, doc):
        """The repaired copy lists PIN-A in its block table, with the block's
        entities, and the reference in model space reaches it."""
        record = next((r for r in doc.block_records if r.dxf.name == "PIN-A"), None)
        if record is None:
            self.fail(where, "ezdxf finds no BLOCK_RECORD PIN-A in the repaired copy")
            return
        block = doc.blocks.get("PIN-A")
        if block is None or len(block) == 0:
            self.fail(where, "ezdxf finds the block PIN-A empty or missing in the repaired copy")
        refs = [e for e in doc.modelspace().query("INSERT") if e.dxf.name == "PIN-A"]
        if not refs or any(e.block() is None for e in refs):
            self.fail(where, "the reference of PIN-A reaches no block in the repaired copy")


def main(argv):
    args = argv[1:]
    corpus = None
    if "--corpus" in args:
        i = args.index("--corpus")
        corpus = args[i + 1]
        del args[i:i + 2]
    if len(args) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    zrdxf, work = args
    os.makedirs(work, exist_ok=True)
    checker = Checker(zrdxf, work)
    for version in VERSIONS:
        doc, line, ref, xrecord, record = base_drawing(version)
        handles = {"line": line, "ref": ref, "xrecord": xrecord, "record": record, "root": doc.rootdict.dxf.handle}
        clean = text_of(doc).split("\n")
        for name, edit, fixed in kinds():
            lines = list(clean)
            at, finding = edit(lines, handles)
            for eol in ("\n", "\r\n"):
                data = eol.join(lines).encode("utf-8" if version >= "R2007" else "cp1252")
                where = f"{name} {version} {'CRLF' if eol == chr(13) + chr(10) else 'LF'}"
                path = os.path.join(work, f"{name}_{version}_{len(eol)}.dxf")
                with open(path, "wb") as f:
                    f.write(data)
                checker.check(where, path, at + 1, finding, fixed)
                if corpus and version == "R2000" and eol == "\n":
                    with open(os.path.join(corpus, hashlib.sha1(data).hexdigest()), "wb") as f:
                        f.write(data)
    if checker.failures:
        print(f"{checker.failures} failures")
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
