#!/usr/bin/python3
"""Edits made through the object model are what ezdxf sees, and nothing else changes.

    check_edits.py DWG_EDIT_SAMPLE WORKDIR

Makes pin drawings with ezdxf (R2000 in ANSI_1252 and R2018 in UTF-8), lets
DWG_EDIT_SAMPLE edit each (an attribute text, extended data, a new dictionary
with two entries) and checks the result with ezdxf."""

import os
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "interop"))

import ezdxf  # noqa: E402
import dxf_compare  # noqa: E402


def make_pins(path, version):
    doc = ezdxf.new(version)
    doc.appids.new("ZR_PINO")
    block = doc.blocks.new("PIN-A")
    block.add_attdef("ID_PINO", (0, 0), dxfattribs={"prompt": "Pino"})
    msp = doc.modelspace()
    for i in range(3):
        ref = msp.add_blockref("PIN-A", (i * 5.0, 0))
        ref.add_attrib("ID_PINO", str(i + 1), (i * 5.0, 0))
        ref.set_xdata("ZR_PINO", [(1000, "X1"), (1000, "CON-ção"), (1000, "S")])
    doc.saveas(path)
    return int(doc.header["$HANDSEED"], 16)


def check(tool, workdir, version):
    failures = []
    src = os.path.join(workdir, f"pins_{version}.dxf")
    out = os.path.join(workdir, f"edited_{version}.dxf")
    seed = make_pins(src, version)
    run = subprocess.run([tool, src, out], capture_output=True, text=True)
    if run.returncode != 0:
        return [f"{version}: the edit tool failed: {run.stderr.strip()}"]
    touched = dict(line.split() for line in run.stdout.split("\n") if line.strip())
    before, after = dxf_compare.load(src), dxf_compare.load(out)

    new_handles = {e.dxf.handle for e in after.entitydb.values() if int(e.dxf.handle, 16) >= seed}
    allowed = {touched["attrib"], touched["insert"], touched["root"], touched["dictionary"]} | new_handles
    appid = after.appids.get("ZR_PINO")
    allowed.add(appid.dxf.handle)
    for message in dxf_compare.diff(before, after, allowed):
        failures.append(f"{version}: unexpected change: {message}")

    attrib = after.entitydb[touched["attrib"]]
    if attrib.dxf.text != "EDITADO ção":
        failures.append(f"{version}: attribute text is {attrib.dxf.text!r}")
    insert = after.entitydb[touched["insert"]]
    values = [v for _, v in insert.get_xdata("ZR_PINO")]
    if values != ["X99", "CON-ção", "S"]:
        failures.append(f"{version}: extended data is {values!r}")
    others = [e for e in after.modelspace() if e.dxftype() == "INSERT" and e.dxf.handle != touched["insert"]]
    for e in others:
        if [v for _, v in e.get_xdata("ZR_PINO")][0] != "X1":
            failures.append(f"{version}: an unedited reference changed")

    root = after.rootdict
    if "ZR_TEST" not in root:
        failures.append(f"{version}: the new dictionary is missing")
    else:
        sub = root["ZR_TEST"]
        if sub.dxftype() != "DICTIONARY" or sorted(sub.keys()) != ["A", "B"]:
            failures.append(f"{version}: the new dictionary holds {sorted(sub.keys())!r}")
        for key in ("A", "B"):
            entry = sub[key]
            if entry.dxftype() != "DICTIONARY" or entry.dxf.owner != sub.dxf.handle:
                failures.append(f"{version}: entry {key} is {entry.dxftype()} owned by {entry.dxf.owner}")
        if sub.dxf.owner != root.dxf.handle:
            failures.append(f"{version}: the new dictionary is owned by {sub.dxf.owner}")
    all_handles = [int(e.dxf.handle, 16) for e in after.entitydb.values() if int(e.dxf.handle, 16) < 0x100000000000]
    new_seed = int(after.header["$HANDSEED"], 16)
    if new_seed <= max(all_handles):
        failures.append(f"{version}: $HANDSEED {new_seed:X} is not past every handle ({max(all_handles):X})")
    if min(int(h, 16) for h in new_handles) < seed if new_handles else True:
        failures.append(f"{version}: new objects did not take handles from the old $HANDSEED {seed:X}")
    return failures


def main():
    tool, workdir = sys.argv[1], sys.argv[2]
    os.makedirs(workdir, exist_ok=True)
    failures = []
    for version in ("R2000", "R2018"):
        failures += check(tool, workdir, version)
    for f in failures:
        print(f)
    print("edits: " + ("FAILED" if failures else "as expected") + " in R2000 and R2018")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
