#!/usr/bin/python3
"""The connectors screen end to end: zrhost runs examples/connectors-screen.scm
on a copy of the example drawing with the example catalogue (a connector
renamed to its proposal, a pin's identifier edited, apply, the title-bar
close, the drawing saved). ezdxf then finds exactly the edited attribute
texts and "ZR_PINO" data changed, a second zrhost run reads them back, and
zrdxf audit finds nothing the original drawing did not have.

    zrhost_connectors_screen_test.py ZRHOST MODULE ZRDXF EXAMPLES_DIR WORKDIR"""

import os
import subprocess
import sys

import ezdxf

import zrhost_session

REOPEN = r'''
(define (check what expected got)
  (unless (equal? expected got) (error "check failed:" what 'expected expected 'got got)))
(check "the names read back" '("X1" "J1" "X3" "X4" "X5" "X6" "X9" "X10" "X11" "X7" "X12")
       (drawing-connector-names))
(display "reopened: ok")
(newline)
'''


def pin_symbols(path):
    """Handle -> (ZR_PINO data, {tag: text}) of every pin symbol in model space."""
    doc = ezdxf.readfile(path)
    out = {}
    for e in doc.modelspace().query("INSERT"):
        if e.has_xdata("ZR_PINO"):
            out[e.dxf.handle] = ([v for _, v in e.get_xdata("ZR_PINO")],
                                 {a.dxf.tag: a.dxf.text for a in e.attribs})
    return doc, out


def other_entities(doc):
    """Every entity of the drawing that is not a pin symbol or its attribute, with its type."""
    return sorted((e.dxf.handle, e.dxftype()) for e in doc.entitydb.values()
                  if not (e.dxftype() == "INSERT" and e.has_xdata("ZR_PINO")))


def audit(zrdxf, path):
    run = subprocess.run([zrdxf, "audit", path], capture_output=True, text=True)
    return run.returncode, sorted(run.stdout.splitlines())


def main():
    binary, module, zrdxf, examples, work = sys.argv[1:6]
    drawing = zrhost_session.prepare(examples, work, "zrscreen")
    original = os.path.join(examples, "drawing.dxf")
    snapshot = os.path.join(work, "screen.txt")
    run = zrhost_session.run_zrhost(binary, module, examples, work, "zrscreen",
                                    os.path.join(examples, "connectors-screen.scm"), drawing, ZR_SCREEN_SNAPSHOT=snapshot)
    if run.returncode != 0:
        print(f"zrhost failed with {run.returncode}")
        return 1
    # The four symbols of X2 and pin 1 of X6, each handed over once.
    expected_line = "atualizarMacros received 5 changed pin symbol(s): 40 46 4C 52 6A"
    if expected_line not in run.stdout:
        print(f"the run does not print {expected_line!r}")
        return 1

    before_doc, before = pin_symbols(original)
    after_doc, after = pin_symbols(drawing)
    if sorted(before) != sorted(after):
        print("the pin symbols are not the same entities after the save")
        return 1
    changes = {}
    for handle in before:
        if before[handle] != after[handle]:
            changes[handle] = after[handle]
    expected = {}
    for handle, (xdata, attributes) in before.items():
        if xdata[0] == "X2":
            expected[handle] = (["J1", xdata[1], "S"], attributes)
    x6 = [h for h, (xdata, attributes) in before.items() if xdata[0] == "X6" and attributes.get("ID_PINO") == "1"]
    if len(x6) != 1:
        print(f"the example drawing should hold one pin 1 of X6, not {x6}")
        return 1
    xdata, attributes = before[x6[0]]
    expected[x6[0]] = (xdata, dict(attributes, ID_PINO="4"))
    if changes != expected:
        print(f"changed pin symbols {changes}\nexpected {expected}")
        return 1
    if other_entities(before_doc) != other_entities(after_doc):
        print("entities other than the pin symbols changed")
        return 1
    # Everything outside the pin symbols' values is as it was: the saved file
    # differs from the original only on the edited values' lines.
    with open(original, encoding="utf-8") as f:
        old_lines = f.read().splitlines()
    with open(drawing, encoding="utf-8") as f:
        new_lines = f.read().splitlines()
    if len(old_lines) != len(new_lines):
        print(f"the saved drawing has {len(new_lines)} lines, the original {len(old_lines)}")
        return 1
    differing = sorted((a, b) for a, b in zip(old_lines, new_lines) if a != b)
    wanted = sorted([("X2", "J1")] * 4 + [("N", "S")] * 4 + [("1", "4")])
    if differing != wanted:
        print(f"lines changed {differing}, expected {wanted}")
        return 1

    before_audit, after_audit = audit(zrdxf, original), audit(zrdxf, drawing)
    if after_audit != before_audit:
        print(f"zrdxf audit of the saved drawing: {after_audit}, of the original: {before_audit}")
        return 1

    script = zrhost_session.write_script(work, "reopen.scm", REOPEN)
    run = zrhost_session.run_zrhost(binary, module, examples, work, "zrscreen", script, drawing,
                                    ZR_SCREEN_SNAPSHOT=snapshot)
    if run.returncode != 0 or "reopened: ok" not in run.stdout:
        print(f"reopening failed with {run.returncode}")
        return 1

    with open(snapshot, encoding="utf-8") as f:
        screen = f.read()
    print(screen)
    # X6 with its light: its pins are wrong, the error light (!).
    for text in ("Conectores do desenho", "J1", "Pino", "Aplicar", "Resumo", "! X6", "\u25cf J1"):
        if text not in screen:
            print(f"the screen's snapshot lacks {text!r}")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
