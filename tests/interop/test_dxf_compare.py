#!/usr/bin/python3
"""Checks that the judges of the round trips find what changed between two
drawings, and only that: dxf_compare (each row edits a copy of a generated
drawing at the text level, so no re-save noise hides or causes a difference,
and names the words the report must hold: the edited handle and attribute),
and roundtrip_check's comparison of groups (only spelling may differ)."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

import ezdxf  # noqa: E402

import dxf_compare  # noqa: E402
import make_drawings  # noqa: E402
import roundtrip_check  # noqa: E402


class TagText:
    """A drawing as (code, value) line pairs, for precise edits by handle."""

    def __init__(self, path):
        with open(path, encoding="utf-8") as f:
            self.lines = f.read().split("\n")

    def save(self, path):
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(self.lines))

    def entity(self, handle):
        """(first line, end line) of the entity with this handle."""
        for i in range(0, len(self.lines) - 3, 2):
            if (self.lines[i].strip() == "0" and self.lines[i + 2].strip() in ("5", "105")
                    and self.lines[i + 3] == handle):
                end = i + 2
                while self.lines[end].strip() != "0":
                    end += 2
                return i, end
        raise KeyError(handle)

    def set_header(self, name, value):
        self.lines[self.lines.index(name) + 2] = value

    def set_value(self, handle, code, old, new):
        start, end = self.entity(handle)
        for i in range(start, end, 2):
            if self.lines[i].strip() == str(code) and self.lines[i + 1] == old:
                self.lines[i + 1] = new
                return
        raise KeyError(f"#{handle} has no ({code}, {old!r})")

    def remove(self, handle):
        start, end = self.entity(handle)
        del self.lines[start:end]

    def move_before(self, handle, other):
        start, end = self.entity(handle)
        block = self.lines[start:end]
        del self.lines[start:end]
        target, _ = self.entity(other)
        self.lines[target:target] = block

    def add_copy(self, handle, new, seed):
        start, end = self.entity(handle)
        copy = list(self.lines[start:end])
        copy[3] = new
        self.lines[end:end] = copy
        self.set_header("$HANDSEED", seed)


class DxfCompareTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="dxf_compare_test_")
        cls.original = os.path.join(cls.tmp, "features.dxf")
        make_drawings.write_drawing(make_drawings.drawings()["features_r2013"], cls.original)
        cls.doc = ezdxf.readfile(cls.original)
        cls.count = 0

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def edited(self, edit):
        """Path of a copy of the original changed by edit(TagText)."""
        text = TagText(self.original)
        edit(text)
        DxfCompareTest.count += 1
        path = os.path.join(self.tmp, f"edited{self.count}.dxf")
        text.save(path)
        return path

    def assertReported(self, differences, *words):
        matching = [d for d in differences if all(w in d for w in words)]
        self.assertTrue(matching, f"no difference mentions {words}; got {differences}")

    def test_each_edit_is_reported(self):
        msp = self.doc.modelspace()
        attrib = msp.query('INSERT[name=="PIN-A"]')[0].attribs[0]
        pin = msp.query('INSERT[name=="PIN-A"]')[0]
        circle, line = msp.query("CIRCLE")[0].dxf.handle, msp.query("LINE")[0].dxf.handle
        xrecord = self.doc.rootdict["ZR_DADOS"]["CONFIGURACAO"].dxf.handle
        custom = self.doc.rootdict["ZR_DADOS"]["OBJETO_PROPRIO"].dxf.handle
        dados = self.doc.rootdict["ZR_DADOS"].dxf.handle
        pin_name = pin.get_xdata("ZR_PINO")[1].value
        seed = int(self.doc.header["$HANDSEED"], 16)
        new = format(seed, "X")
        a = attrib.dxf.handle
        # (what is edited, the edit, words one reported difference must hold)
        table = [
            ("attribute text", lambda t: t.set_value(a, 1, attrib.dxf.text, "99"),
             [(f"ATTRIB #{a}", "text", "'99'")]),
            ("removed entity", lambda t: t.remove(circle),
             [(f"CIRCLE #{circle}", "missing"), ("*Model_Space", f"#{circle}", "missing")]),
            ("extended data", lambda t: t.set_value(pin.dxf.handle, 1000, pin_name, "X999"),
             [(f"INSERT #{pin.dxf.handle}", "ZR_PINO", "X999")]),
            ("header variable", lambda t: t.set_header("$INSUNITS", "6"),
             [("HEADER $INSUNITS", "4", "6")]),
            ("handle seed shrunk", lambda t: t.set_header("$HANDSEED", format(seed - 1, "X")),
             [("$HANDSEED",)]),
            ("new entity", lambda t: t.add_copy(circle, new, format(seed + 1, "X")),
             [(f"CIRCLE #{new}", "added"), ("*Model_Space", f"#{new} added")]),
            ("float by one ulp", lambda t: t.set_value(xrecord, 40, "2.5", "2.5000000000000004"),
             [(f"XRECORD #{xrecord}", "2.5000000000000004")]),
            ("trailing spaces", lambda t: t.set_value(xrecord, 1, "fim  ", "fim"),
             [(f"XRECORD #{xrecord}", "'fim  '")]),
            ("unknown object tag", lambda t: t.set_value(custom, 70, "2", "3"),
             [(f"ZRCUSTOMOBJECT #{custom}", "(70, 3)")]),
            ("entity order", lambda t: t.move_before(circle, line), [("*Model_Space", "moved")]),
            ("dictionary entry", lambda t: t.set_value(dados, 3, "NORMAS", "NORMAS2"),
             [(f"DICTIONARY #{dados}", "'NORMAS'", "removed")]),
            ("reactor", lambda t: t.set_value(line, 330, dados, "0"),
             [(f"LINE #{line}", "reactors")]),
            ("class entry", lambda t: t.lines.__setitem__(t.lines.index("ZrCustomObject"),
                                                          "ZrOtherObject"),
             [("CLASSES ZRCUSTOMOBJECT", "ZrOtherObject")]),
        ]
        for what, edit, expected in table:
            with self.subTest(what):
                path = self.edited(edit)
                found = dxf_compare.diff_files(self.original, path)
                for words in expected:
                    self.assertReported(found, *words)
                if what == "header variable":
                    self.assertEqual(len(found), 1, found)
                if what == "new entity":
                    self.assertEqual(dxf_compare.diff_files(self.original, path,
                                                            allow_changed=[new]), [])

        both = self.edited(lambda t: (t.set_value(a, 1, attrib.dxf.text, "99"), t.remove(circle)))
        found = dxf_compare.diff_files(self.original, both, allow_changed=[a.lower()])
        self.assertFalse([d for d in found if "ATTRIB" in d], found)
        self.assertReported(found, f"CIRCLE #{circle}")
        self.assertEqual(dxf_compare.diff_files(self.original, both, allow_changed=[a, circle]), [])

    def test_what_is_not_a_change_is_not_reported(self):
        self.assertEqual(dxf_compare.diff_files(self.original, self.original), [])
        seed = int(self.doc.header["$HANDSEED"], 16)
        grown = self.edited(lambda t: t.set_header("$HANDSEED", format(seed + 0x100, "X")))
        self.assertEqual(dxf_compare.diff_files(self.original, grown), [])
        ezdxf.options.write_fixed_meta_data_for_testing = True
        copy = os.path.join(self.tmp, "resaved.dxf")
        ezdxf.readfile(self.original).saveas(copy)
        text = TagText(copy)
        for name, guid in zip(("$FINGERPRINTGUID", "$VERSIONGUID"), make_drawings.FIXED_GUIDS):
            text.set_header(name, guid)
        text.save(copy)
        self.assertEqual(dxf_compare.diff_files(self.original, copy), [])
        # This file lacks layouts and other objects ezdxf creates on loading,
        # which do not follow the handle seed.
        source = os.path.join(HERE, "data", "compact_codes_r2000_crlf.dxf")
        with open(source, "rb") as f:
            data = f.read()
        copy = os.path.join(self.tmp, "compact_grown_seed.dxf")
        with open(copy, "wb") as f:
            f.write(data.replace(b"$HANDSEED\r\n5\r\n60\r\n", b"$HANDSEED\r\n5\r\n90\r\n"))
        self.assertEqual(dxf_compare.diff_files(source, copy), [])

    def test_command_line_exit_status(self):
        a = self.doc.modelspace().query('INSERT[name=="PIN-A"]')[0].attribs[0]
        changed = self.edited(lambda t: t.set_value(a.dxf.handle, 1, a.dxf.text, "77"))
        not_dxf = os.path.join(self.tmp, "not_a_drawing.dxf")
        with open(not_dxf, "w") as f:
            f.write("hello\n")
        for args, status, words in [([self.original], 0, ""),
                                    ([changed], 1, f"ATTRIB #{a.dxf.handle}"),
                                    ([changed, "--allow-changed", a.dxf.handle], 0, ""),
                                    ([not_dxf], 2, "not_a_drawing.dxf")]:
            with self.subTest(args=args[1:], status=status):
                result = subprocess.run([sys.executable, os.path.join(HERE, "dxf_compare.py"),
                                         self.original] + args, capture_output=True, text=True)
                self.assertEqual(result.returncode, status, result.stdout + result.stderr)
                self.assertIn(words, result.stdout + result.stderr)

    def write(self, name, text):
        path = os.path.join(self.tmp, name)
        with open(path, "wb") as f:
            f.write(text)
        return path

    def test_group_comparison_allows_only_spelling(self):
        original = self.write("groups_a.dxf", b"999\nwriter\n  0\nLINE\n  5\n2F\n 10\n0.0\n"
                                              b" 20\n1.5\n  1\nfim  \n  0\nEOF\n")
        respelled = self.write("groups_b.dxf", b"0\r\nLINE\r\n5\r\n2F\r\n10\r\n0\r\n"
                                               b"20\r\n1.50E+00\r\n1\r\nfim  \r\n0\r\nEOF\r\n")
        self.assertEqual(roundtrip_check.tag_differences(original, respelled), [])
        changed = self.write("groups_c.dxf", b"  0\nLINE\n  5\n2F\n 10\n0.0\n 90\n7\n"
                                             b" 20\n1.5\n  1\nfim\n  0\nEOF\n")
        found = roundtrip_check.tag_differences(original, changed)
        self.assertTrue(any("added at line 7" in m and "(90, b'7')" in m for m in found), found)
        self.assertTrue(any("b'fim  '" in m and "b'fim'" in m for m in found), found)


if __name__ == "__main__":
    unittest.main(verbosity=2)
