#!/usr/bin/python3
"""Checks the round-trip driver and the bad-input table against
fake_zrdxf.py: a tool that behaves must pass them, and each way of
misbehaving (accepting bad input, leaving an output behind, losing data,
writing differently each time, dropping the thumbnail, writing a drawing the
audit finds fault with) must be reported."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

import make_drawings  # noqa: E402
import roundtrip_check  # noqa: E402

FAKE = os.path.join(HERE, "fake_zrdxf.py")
DATA = os.path.join(HERE, "data")


def run_script(script, args, mode):
    env = dict(os.environ, ZR_FAKE_MODE=mode)
    return subprocess.run([sys.executable, os.path.join(HERE, script)] + args,
                          capture_output=True, text=True, env=env, timeout=600)


class HarnessTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="interop_harness_test_")
        cls.drawing = os.path.join(cls.tmp, "pins.dxf")
        make_drawings.write_drawing(make_drawings.drawings()["pins_r2013"], cls.drawing)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def test_lossless_tool_passes_every_drawing(self):
        sources = [os.path.join(DATA, f) for f in sorted(os.listdir(DATA)) if f.endswith(".dxf")]
        for source in [self.drawing] + sources:
            with self.subTest(source=os.path.basename(source)):
                result = run_script("roundtrip_check.py",
                                    [FAKE, source, os.path.join(self.tmp, "copy")], "copy")
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        result = run_script("bad_inputs.py", [FAKE, os.path.join(self.tmp, "bad_ok")], "copy")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_each_misbehaviour_is_reported(self):
        thumbnail = os.path.join(DATA, "thumbnail_acdsdata_r2013.dxf")
        # (script, its arguments after the tool and work folder, the tool's
        #  misbehaviour, what the report must say)
        table = [
            ("roundtrip_check.py", [self.drawing], "lossy", ["FAIL HEADER $TDUPDATE"]),
            ("roundtrip_check.py", [self.drawing], "unstable",
             ["writing again changed the file"]),
            ("roundtrip_check.py", [thumbnail], "drop-thumbnail", ["THUMBNAILIMAGE"]),
            ("roundtrip_check.py", [self.drawing], "add-finding",
             ["has a finding", "LINE 2F: owner 9A does not exist"]),
            ("bad_inputs.py", [], "accept", ["FAIL r12_drawing", "exit status 0, expected 2"]),
            ("bad_inputs.py", ["truncated"], "early-output", ["the output file was created"]),
        ]
        for script, args, mode, words in table:
            with self.subTest(script=script, mode=mode):
                work = os.path.join(self.tmp, mode)
                if script == "roundtrip_check.py":
                    args = [args[0], work]
                else:
                    args = [work] + args
                result = run_script(script, [FAKE] + args, mode)
                self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                for word in words:
                    self.assertIn(word, result.stdout)

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
