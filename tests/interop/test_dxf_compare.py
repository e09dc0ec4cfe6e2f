#!/usr/bin/python3
"""Checks that dxf_compare finds what changed between two drawings, and
only that: each case edits a copy of a generated drawing at the text level
(so no re-save noise hides or causes a difference) and looks for the
difference naming the edited handle and attribute."""

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

    def header_var(self, name):
        i = self.lines.index(name)
        return i + 1  # line of the value's group code

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


class DxfCompareTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="dxf_compare_test_")
        cls.original = os.path.join(cls.tmp, "features.dxf")
        builders = make_drawings.drawings()
        make_drawings.write_drawing(builders["features_r2013"], cls.original)
        cls.doc = ezdxf.readfile(cls.original)
        msp = cls.doc.modelspace()
        cls.pin = msp.query('INSERT[name=="PIN-A"]')[0]
        cls.circle = msp.query("CIRCLE")[0]
        cls.line = msp.query("LINE")[0]
        cls.xrecord = cls.doc.rootdict["ZR_DADOS"]["CONFIGURACAO"]
        cls.custom = cls.doc.rootdict["ZR_DADOS"]["OBJETO_PROPRIO"]
        cls.count = 0

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def edited(self, edit):
        """Differences between the original and a copy changed by edit(TagText)."""
        text = TagText(self.original)
        edit(text)
        DxfCompareTest.count += 1
        path = os.path.join(self.tmp, f"edited{self.count}.dxf")
        text.save(path)
        return dxf_compare.diff_files(self.original, path), path

    def assertReported(self, differences, *words):
        matching = [d for d in differences if all(w in d for w in words)]
        self.assertTrue(matching, f"no difference mentions {words}; got {differences}")

    def test_identical_files_are_equal(self):
        self.assertEqual(dxf_compare.diff_files(self.original, self.original), [])

    def test_copy_resaved_by_ezdxf_is_equal(self):
        ezdxf.options.write_fixed_meta_data_for_testing = True
        copy = os.path.join(self.tmp, "resaved.dxf")
        ezdxf.readfile(self.original).saveas(copy)
        text = TagText(copy)
        for name, guid in zip(("$FINGERPRINTGUID", "$VERSIONGUID"), make_drawings.FIXED_GUIDS):
            text.lines[text.header_var(name) + 1] = guid
        text.save(copy)
        self.assertEqual(dxf_compare.diff_files(self.original, copy), [])

    def test_changed_attribute_text(self):
        attrib = self.pin.attribs[0]
        found, _ = self.edited(lambda t: t.set_value(attrib.dxf.handle, 1, attrib.dxf.text, "99"))
        self.assertReported(found, f"ATTRIB #{attrib.dxf.handle}", "text", "'99'")

    def test_removed_entity(self):
        handle = self.circle.dxf.handle
        found, _ = self.edited(lambda t: t.remove(handle))
        self.assertReported(found, f"CIRCLE #{handle}", "missing")
        self.assertReported(found, "*Model_Space", f"#{handle}", "missing")

    def test_changed_extended_data_value(self):
        handle = self.pin.dxf.handle
        name = self.pin.get_xdata("ZR_PINO")[1].value
        found, _ = self.edited(lambda t: t.set_value(handle, 1000, name, "X999"))
        self.assertReported(found, f"INSERT #{handle}", "ZR_PINO", "X999")

    def test_changed_header_variable(self):
        def edit(t):
            t.lines[t.header_var("$INSUNITS") + 1] = "6"
        found, _ = self.edited(edit)
        self.assertEqual(len(found), 1, found)
        self.assertReported(found, "HEADER $INSUNITS", "4", "6")

    def test_handle_seed_may_grow_but_not_shrink(self):
        def set_seed(value):
            def edit(t):
                t.lines[t.header_var("$HANDSEED") + 1] = value
            return edit
        seed = self.doc.header["$HANDSEED"]  # as read: the document is never saved
        grown, _ = self.edited(set_seed(format(int(seed, 16) + 0x100, "X")))
        self.assertEqual(grown, [])
        shrunk, _ = self.edited(set_seed(format(int(seed, 16) - 1, "X")))
        self.assertReported(shrunk, "$HANDSEED")

    def test_new_entity_reported_unless_allowed(self):
        seed = self.doc.header["$HANDSEED"]
        new = format(int(seed, 16), "X")

        def edit(t):
            start, end = t.entity(self.circle.dxf.handle)
            copy = list(t.lines[start:end])
            copy[3] = new
            t.lines[end:end] = copy
            t.lines[t.header_var("$HANDSEED") + 1] = format(int(seed, 16) + 1, "X")
        found, path = self.edited(edit)
        self.assertReported(found, f"CIRCLE #{new}", "added")
        self.assertReported(found, "*Model_Space", f"#{new} added")
        self.assertEqual(dxf_compare.diff_files(self.original, path, allow_changed=[new]), [])

    def test_objects_ezdxf_adds_do_not_follow_the_handle_seed(self):
        # This file lacks layouts and other objects ezdxf creates on loading.
        source = os.path.join(HERE, "data", "compact_codes_r2000_crlf.dxf")
        with open(source, "rb") as f:
            data = f.read()
        copy = os.path.join(self.tmp, "compact_grown_seed.dxf")
        grown = data.replace(b"$HANDSEED\r\n5\r\n60\r\n", b"$HANDSEED\r\n5\r\n90\r\n")
        self.assertNotEqual(grown, data)
        with open(copy, "wb") as f:
            f.write(grown)
        self.assertEqual(dxf_compare.diff_files(source, copy), [])

    def test_float_compared_exactly(self):
        handle = self.xrecord.dxf.handle
        found, _ = self.edited(lambda t: t.set_value(handle, 40, "2.5", "2.5000000000000004"))
        self.assertReported(found, f"XRECORD #{handle}", "2.5000000000000004")

    def test_trailing_spaces_matter(self):
        handle = self.xrecord.dxf.handle
        found, _ = self.edited(lambda t: t.set_value(handle, 1, "fim  ", "fim"))
        self.assertReported(found, f"XRECORD #{handle}", "'fim  '")

    def test_unknown_object_tags(self):
        handle = self.custom.dxf.handle
        found, _ = self.edited(lambda t: t.set_value(handle, 70, "2", "3"))
        self.assertReported(found, f"ZRCUSTOMOBJECT #{handle}", "(70, 3)")

    def test_entity_order(self):
        found, _ = self.edited(lambda t: t.move_before(self.circle.dxf.handle, self.line.dxf.handle))
        self.assertReported(found, "*Model_Space", "moved")

    def test_dictionary_entry_and_reactor(self):
        dados = self.doc.rootdict["ZR_DADOS"].dxf.handle
        found, _ = self.edited(lambda t: t.set_value(dados, 3, "NORMAS", "NORMAS2"))
        self.assertReported(found, f"DICTIONARY #{dados}", "'NORMAS'", "removed")
        line = self.line.dxf.handle
        found, _ = self.edited(lambda t: t.set_value(line, 330, dados, "0"))
        self.assertReported(found, f"LINE #{line}", "reactors")

    def test_class_entry(self):
        def edit(t):
            i = t.lines.index("ZrCustomObject")
            t.lines[i] = "ZrOtherObject"
        found, _ = self.edited(edit)
        self.assertReported(found, "CLASSES ZRCUSTOMOBJECT", "ZrOtherObject")

    def test_allow_changed_hides_only_the_given_object(self):
        attrib = self.pin.attribs[0]
        circle = self.circle.dxf.handle

        def edit(t):
            t.set_value(attrib.dxf.handle, 1, attrib.dxf.text, "99")
            t.remove(circle)
        _, path = self.edited(edit)
        found = dxf_compare.diff_files(self.original, path, allow_changed=[attrib.dxf.handle.lower()])
        self.assertFalse([d for d in found if "ATTRIB" in d], found)
        self.assertReported(found, f"CIRCLE #{circle}")
        self.assertEqual(dxf_compare.diff_files(self.original, path,
                                                allow_changed=[attrib.dxf.handle, circle]), [])

    def test_command_line_exit_status(self):
        script = os.path.join(HERE, "dxf_compare.py")
        same = subprocess.run([sys.executable, script, self.original, self.original],
                              capture_output=True, text=True)
        self.assertEqual(same.returncode, 0, same.stdout + same.stderr)
        attrib = self.pin.attribs[0]
        _, path = self.edited(lambda t: t.set_value(attrib.dxf.handle, 1, attrib.dxf.text, "77"))
        changed = subprocess.run([sys.executable, script, self.original, path],
                                 capture_output=True, text=True)
        self.assertEqual(changed.returncode, 1)
        self.assertIn(f"ATTRIB #{attrib.dxf.handle}", changed.stdout)
        allowed = subprocess.run([sys.executable, script, self.original, path,
                                  "--allow-changed", attrib.dxf.handle], capture_output=True)
        self.assertEqual(allowed.returncode, 0)
        not_dxf = os.path.join(self.tmp, "not_a_drawing.dxf")
        with open(not_dxf, "w") as f:
            f.write("hello\n")
        bad = subprocess.run([sys.executable, script, self.original, not_dxf],
                             capture_output=True, text=True)
        self.assertEqual(bad.returncode, 2)
        self.assertIn("not_a_drawing.dxf", bad.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
