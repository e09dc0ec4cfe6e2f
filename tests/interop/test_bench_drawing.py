#!/usr/bin/python3
"""Checks the benchmark drawing generator (bench/dwg/make_bench_drawing.py)
on a small size: ezdxf reads it, every pin symbol has its ATTRIB and
ZR_PINO data, and the raw file is consistent (unique handles below
$HANDSEED, every owner exists, ATTRIB and SEQEND owned by their INSERT)."""

import os
import subprocess
import sys
import tempfile
import unittest

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
GENERATOR = os.path.join(HERE, "..", "..", "bench", "dwg", "make_bench_drawing.py")
CONNECTORS, PINS = 3, 7


def raw_entities(path):
    """[(type, {code: [values]})] for every entity and object in the file."""
    with open(path, encoding="ascii") as f:
        lines = f.read().split("\n")
    found = []
    for i in range(0, len(lines) - 1, 2):
        code, value = int(lines[i]), lines[i + 1]
        if code == 0:
            found.append((value, {}))
        elif found:
            found[-1][1].setdefault(code, []).append(value)
    return found


class BenchDrawingTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory(prefix="bench_drawing_test_")
        cls.path = os.path.join(cls.tmp.name, "bench.dxf")
        subprocess.run([sys.executable, GENERATOR, cls.path, "--connectors", str(CONNECTORS),
                        "--pins", str(PINS)], check=True)
        cls.doc = ezdxf.readfile(cls.path)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_version_and_blocks(self):
        self.assertEqual(self.doc.dxfversion, "AC1027")
        for name in ("PIN-A", "PIN-B", "PIN-C", "PIN-D", "PIN-E"):
            tags = [e.dxf.tag for e in self.doc.blocks[name] if e.dxftype() == "ATTDEF"]
            self.assertEqual(tags, ["ID_PINO"], name)

    def test_every_pin_symbol(self):
        inserts = list(self.doc.modelspace().query("INSERT"))
        self.assertEqual(len(inserts), CONNECTORS * PINS)
        for index, insert in enumerate(inserts):
            connector, pin = divmod(index, PINS)
            self.assertTrue(insert.dxf.name.startswith("PIN-"))
            self.assertEqual([(a.dxf.tag, a.dxf.text) for a in insert.attribs],
                             [("ID_PINO", str(pin + 1))])
            values = [t.value for t in insert.get_xdata("ZR_PINO")]
            self.assertEqual(values[:2], [f"X{connector + 1}", f"CON-{connector + 1:05d}"])
            self.assertIn(values[2], ("S", "N"))

    def test_raw_file_is_consistent(self):
        entities = raw_entities(self.path)
        # The HEADER's $HANDSEED is a group 5 too: sections are left out.
        handles = [v for kind, tags in entities if kind != "SECTION"
                   for code in (5, 105) for v in tags.get(code, [])]
        self.assertEqual(len(handles), len(set(handles)), "duplicate handles")
        seed = int(self.doc.header["$HANDSEED"], 16)
        self.assertGreater(seed, max(int(h, 16) for h in handles))
        known = set(handles) | {"0"}
        for kind, tags in entities:
            for owner in tags.get(330, []):
                self.assertIn(owner, known, f"{kind} owned by missing #{owner}")
        last_insert = None
        for kind, tags in entities:
            if kind == "INSERT":
                last_insert = tags[5][0]
            elif kind in ("ATTRIB", "SEQEND") and last_insert:
                self.assertEqual(tags[330], [last_insert], kind)

    def test_audit_finds_nothing(self):
        auditor = ezdxf.readfile(self.path).audit()
        self.assertFalse(auditor.has_errors, [e.message for e in auditor.errors])


if __name__ == "__main__":
    unittest.main(verbosity=2)
