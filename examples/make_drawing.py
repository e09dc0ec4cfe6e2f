#!/usr/bin/python3
"""Writes examples/drawing.dxf: a small schematic with connectors of the example
catalogue drawn as pin symbols.

    make_drawing.py [OUT.dxf]

A pin symbol is a reference of a block named "PIN-..." with the attribute
ID_PINO (the pin identifier) and extended data of the application ZR_PINO:
connector name, catalogue code, and "S"/"N" (the name was proposed by the
suite). Symbols stay away from the origin, where the check puts catalogue
pins that have no symbol. The drawing holds:
  X1 (AM04M) with all four pins, mated with X2 (AM04F) pin on pin;
  X3 (AP06F) with pins 1 to 3 only;
  X4 (CM03M) with a pin "9" that its catalogue entry lacks;
  X5 (AM02F) whose pin 2 sits on pin 1 of X6 (AP06M), which may not mate;
  X9 (CM03M) mated with X10 (CM03F);
  X11 (AM04M) with two of its pins on one point;
  X7 (CM03M) on the layer ZR_FREEZE, X12 (AM02F) on the layer "0", and
  X8 (CM03F) inside a block.
The output is the same on every run (fixed timestamps and identifiers)."""

import io
import os
import re
import sys

# ezdxf orders the CLASSES section by string hashes: fix the seed so that every
# run writes the same file.
if os.environ.get("PYTHONHASHSEED") != "0":
    os.environ["PYTHONHASHSEED"] = "0"
    os.execv(sys.executable, [sys.executable] + sys.argv)

import ezdxf  # noqa: E402

OUT = sys.argv[1] if len(sys.argv) > 1 else "drawing.dxf"


def pin_block(doc, name, radius):
    block = doc.blocks.new(name)
    block.add_circle((0, 0), radius)
    block.add_attdef("ID_PINO", (radius + 0.5, -0.5), dxfattribs={"prompt": "Identificação do pino", "height": 1.0})
    return block


def place(layout, block, connector, code, identifier, x, y, flag="S", layer="ESQUEMA"):
    ref = layout.add_blockref(block, (x, y), dxfattribs={"layer": layer})
    ref.add_attrib("ID_PINO", identifier, (x + 1.5, y - 0.5), dxfattribs={"height": 1.0})
    ref.set_xdata("ZR_PINO", [(1000, connector), (1000, code), (1000, flag)])
    return ref


def main():
    doc = ezdxf.new("R2013")
    doc.header["$TDCREATE"] = 2461000.5
    doc.header["$TDUPDATE"] = 2461000.5
    doc.header["$FINGERPRINTGUID"] = "{6A3C1D2E-0000-4000-8000-000000000001}"
    doc.header["$VERSIONGUID"] = "{6A3C1D2E-0000-4000-8000-000000000002}"
    doc.appids.new("ZR_PINO")
    doc.layers.add("ESQUEMA", color=3)
    doc.layers.add("ZR_FREEZE", color=8)
    pin_block(doc, "PIN-M", 1.0)
    pin_block(doc, "PIN-F", 1.2)
    msp = doc.modelspace()

    msp.add_text("Esquema de ligação — conectores do painel", dxfattribs={"height": 2.5, "layer": "ESQUEMA"}).set_placement((100, 130))
    # Complete and mated pin on pin: X1 (AM04M) with X2 (AM04F).
    for i in range(4):
        place(msp, "PIN-M", "X1", "AM04M", str(i + 1), 100, 120 - 5.0 * i)
        place(msp, "PIN-F", "X2", "AM04F", str(i + 1), 100, 120 - 5.0 * i, flag="N")
    # Pins 4, 5 and the unnamed one still missing.
    for i in range(3):
        place(msp, "PIN-F", "X3", "AP06F", str(i + 1), 130, 120 - 5.0 * i)
    # A pin "9" that CM03M does not have.
    place(msp, "PIN-M", "X4", "CM03M", "A", 160, 120)
    place(msp, "PIN-M", "X4", "CM03M", "9", 160, 115)
    # AM02F and AP06M touch although they may not mate.
    place(msp, "PIN-F", "X5", "AM02F", "1", 190, 120)
    place(msp, "PIN-F", "X5", "AM02F", "2", 190, 115)
    place(msp, "PIN-M", "X6", "AP06M", "1", 190, 115)
    # CM03M and CM03F mated.
    for i, pin in enumerate("ABC"):
        place(msp, "PIN-M", "X9", "CM03M", pin, 220, 120 - 5.0 * i)
        place(msp, "PIN-F", "X10", "CM03F", pin, 220, 120 - 5.0 * i)
    # A connector touching itself.
    place(msp, "PIN-M", "X11", "AM04M", "1", 250, 120)
    place(msp, "PIN-M", "X11", "AM04M", "2", 250, 120)
    # On the layer ZR_FREEZE: checked, but not listed among the placed names.
    for i, pin in enumerate("ABC"):
        place(msp, "PIN-M", "X7", "CM03M", pin, 280, 120 - 5.0 * i, layer="ZR_FREEZE")

    # On the layer "0": checked, but not listed among the placed names.
    place(msp, "PIN-F", "X12", "AM02F", "1", 310, 120, layer="0")
    place(msp, "PIN-F", "X12", "AM02F", "2", 310, 115, layer="0")

    # A pin symbol inside a block.
    assembly = doc.blocks.new("CHICOTE-A")
    assembly.add_line((0, 0), (10, 0))
    place(assembly, "PIN-F", "X8", "CM03F", "A", 10, 0)
    msp.add_blockref("CHICOTE-A", (100, 60))

    doc.layout("Layout1").add_text("Folha 1 de 1", dxfattribs={"height": 3.5}).set_placement((10, 10))
    stream = io.StringIO()
    doc.write(stream)
    # ezdxf stamps each save with a new version identifier and the time.
    text = re.sub(r"(\$VERSIONGUID\n  2\n)\{[^}]*\}", r"\1{6A3C1D2E-0000-4000-8000-000000000002}", stream.getvalue())
    text = re.sub(r"(\d+\.\d+\.\d+) @ [0-9T:.+-]+", r"\1 @ 2026-01-01T00:00:00+00:00", text)
    with open(OUT, "w", encoding="utf-8", newline="\r\n") as out:
        out.write(text)


if __name__ == "__main__":
    main()
