#!/usr/bin/python3
"""Writes the benchmark drawing: connectors made of pin symbols.

    make_bench_drawing.py OUT.dxf [--connectors 10000] [--pins 20] [--findings] [--check]

An R2013 (AC1027) ASCII drawing with blocks "PIN-A".."PIN-E" (each with an
ATTDEF "ID_PINO") and connectors x pins INSERTs of them in model space. Each
INSERT carries one ATTRIB "ID_PINO" (the pin number) closed by a SEQEND, both
owned by the INSERT, and extended data "ZR_PINO" with three strings: the
connector name ("X123"), its code ("CON-00123", from 1,000 codes) and "S" or "N".

With --findings every second connector (X2, X4, ...) is drawn wrong in one
of four ways, in turn, each giving two findings against the catalogue of
make_bench_catalogue.py: its last two pins left out (two pin.missing); its
last pin numbered 99 (pin.unknown, and that pin pin.missing); its last pin
placed on the first pin of the connector eight further on, whose code does not
mate with its own (pin.invalid-mate on both pins); or its last pin placed on
its own first pin (pin.self-mate on both). That is about one finding per
connector, on half of them, as a drawing under revision may carry.

The text is written directly (ezdxf's document model would take minutes for
the full size); --check reads the result back with ezdxf.readfile and counts
the pins, which is meant for small sizes. Standalone: needs only Python.
"""

import argparse
import sys

PIN_BLOCKS = ("PIN-A", "PIN-B", "PIN-C", "PIN-D", "PIN-E")


class Handles:
    """Hands out handles in file order, as upper-case hexadecimal."""

    def __init__(self):
        self.next = 0x20

    def take(self):
        value = self.next
        self.next += 1
        return format(value, "X")


def tags(*pairs):
    """DXF text for (code, value) pairs, group codes right-aligned to 3."""
    return "".join(f"{code:>3}\n{value}\n" for code, value in pairs)


def header(seed):
    return tags((0, "SECTION"), (2, "HEADER"),
                (9, "$ACADVER"), (1, "AC1027"), (9, "$ACADMAINTVER"), (70, 105),
                (9, "$DWGCODEPAGE"), (3, "ANSI_1252"),
                (9, "$INSBASE"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
                (9, "$EXTMIN"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
                (9, "$EXTMAX"), (10, "5000.0"), (20, "4000.0"), (30, "0.0"),
                (9, "$INSUNITS"), (70, 4), (9, "$MEASUREMENT"), (70, 1),
                (9, "$HANDSEED"), (5, seed), (0, "ENDSEC"))


def table(name, handle, entries, extra=()):
    head = [(0, "TABLE"), (2, name), (5, handle), (330, "0"), (100, "AcDbSymbolTable"),
            (70, len(entries))] + list(extra)
    return tags(*head) + "".join(entries) + tags((0, "ENDTAB"))


def entry(kind, handle, owner, subclass, *fields, handle_code=5):
    return tags((0, kind), (handle_code, handle), (330, owner),
                (100, "AcDbSymbolTableRecord"), (100, subclass), *fields)


def tables(h, ids):
    out = [tags((0, "SECTION"), (2, "TABLES"))]
    t = h.take()
    out.append(table("VPORT", t, [entry(
        "VPORT", h.take(), t, "AcDbViewportTableRecord", (2, "*Active"), (70, 0),
        (10, "0.0"), (20, "0.0"), (11, "1.0"), (21, "1.0"), (12, "2500.0"), (22, "2000.0"),
        (40, "4000.0"), (41, "1.25"))]))
    t = h.take()
    out.append(table("LTYPE", t, [entry(
        "LTYPE", h.take(), t, "AcDbLinetypeTableRecord", (2, name), (70, 0), (3, text),
        (72, 65), (73, 0), (40, "0.0"))
        for name, text in (("ByBlock", ""), ("ByLayer", ""), ("Continuous", "Solid line"))]))
    t = h.take()
    out.append(table("LAYER", t, [entry(
        "LAYER", h.take(), t, "AcDbLayerTableRecord", (2, name), (70, 0), (62, color),
        (6, "Continuous"), (370, -3))
        for name, color in (("0", 7), ("PINOS", 3))]))
    t = h.take()
    out.append(table("STYLE", t, [entry(
        "STYLE", h.take(), t, "AcDbTextStyleTableRecord", (2, "Standard"), (70, 0),
        (40, "0.0"), (41, "1.0"), (50, "0.0"), (71, 0), (42, "2.5"), (3, "txt"), (4, ""))]))
    out.append(table("VIEW", h.take(), []))
    out.append(table("UCS", h.take(), []))
    t = h.take()
    out.append(table("APPID", t, [entry(
        "APPID", h.take(), t, "AcDbRegAppTableRecord", (2, name), (70, 0))
        for name in ("ACAD", "ZR_PINO")]))
    t = h.take()
    out.append(table("DIMSTYLE", t, [entry(
        "DIMSTYLE", h.take(), t, "AcDbDimStyleTableRecord", (2, "Standard"), (70, 0),
        handle_code=105)], extra=[(100, "AcDbDimStyleTable"), (71, 0)]))
    t = h.take()
    records = []
    for name in ("*Model_Space", "*Paper_Space") + PIN_BLOCKS:
        layout = ids["layout " + name] if name.startswith("*") else "0"
        records.append(entry("BLOCK_RECORD", ids[name], t, "AcDbBlockTableRecord",
                             (2, name), (340, layout), (70, 0), (280, 1), (281, 0)))
    out.append(table("BLOCK_RECORD", t, records))
    out.append(tags((0, "ENDSEC")))
    return "".join(out)


def block(h, name, record, content="", paper=False):
    space = [(67, 1)] if paper else []
    begin = tags((0, "BLOCK"), (5, h.take()), (330, record), (100, "AcDbEntity"), *space,
                 (8, "0"), (100, "AcDbBlockBegin"), (2, name), (70, 2 if content else 0),
                 (10, "0.0"), (20, "0.0"), (30, "0.0"), (3, name), (1, ""))
    end = tags((0, "ENDBLK"), (5, h.take()), (330, record), (100, "AcDbEntity"), *space,
               (8, "0"), (100, "AcDbBlockEnd"))
    return begin + content + end


def pin_block_content(h, record, index):
    circle = tags((0, "CIRCLE"), (5, h.take()), (330, record), (100, "AcDbEntity"), (8, "0"),
                  (100, "AcDbCircle"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
                  (40, f"{0.4 + 0.05 * index:.2f}"))
    attdef = tags((0, "ATTDEF"), (5, h.take()), (330, record), (100, "AcDbEntity"), (8, "0"),
                  (100, "AcDbText"), (10, "0.6"), (20, "0.0"), (30, "0.0"), (40, "0.3"),
                  (1, ""), (100, "AcDbAttributeDefinition"), (280, 0), (3, "Pino"),
                  (2, "ID_PINO"), (70, 0))
    return circle + attdef


def blocks(h, ids):
    out = [tags((0, "SECTION"), (2, "BLOCKS"))]
    out.append(block(h, "*Model_Space", ids["*Model_Space"]))
    out.append(block(h, "*Paper_Space", ids["*Paper_Space"], paper=True))
    for index, name in enumerate(PIN_BLOCKS):
        record = ids[name]
        out.append(block(h, name, record, pin_block_content(h, record, index)))
    out.append(tags((0, "ENDSEC")))
    return "".join(out)


FAULTS = ("missing", "unknown", "invalid-mate", "self-mate")


def fault_of(c, connectors, pins):
    """What is wrong with connector index c in a drawing with findings: None
    for every first connector (X1, X3, ...), else one of FAULTS in turn. A
    pin placed on another connector's pin needs that connector (eight further
    on, so of the same kind, with a code eight apart, which does not mate),
    and two pins at least; otherwise the connector misses pins instead."""
    if c % 2 == 0:
        return None
    fault = FAULTS[(c // 2) % len(FAULTS)]
    if fault == "invalid-mate" and c + 8 >= connectors:
        fault = "missing"
    if fault in ("invalid-mate", "self-mate", "missing") and pins < 2:
        fault = "unknown"
    return fault


def pin_place(c, p, pins):
    """Position of pin p of connector index c as drawn right."""
    base_x, base_y = (c % 100) * 50.0, (c // 100) * 40.0
    return base_x + (p % 10) * 2.0, base_y + (p // 10) * 3.0


def write_entities(out, h, model_space, connectors, pins, findings=False):
    """The bulk of the file: one INSERT + ATTRIB + SEQEND per pin."""
    out.write(tags((0, "SECTION"), (2, "ENTITIES")))
    number = h.next
    chunk = []
    for c in range(connectors):
        # Codes repeat every 1,000 connectors, as in a catalogue of 1,000 codes.
        name, code, flag = f"X{c + 1}", f"CON-{c % 1000 + 1:05d}", "N" if c % 5 == 4 else "S"
        fault = fault_of(c, connectors, pins) if findings else None
        for p in range(pins):
            last = p == pins - 1
            if fault == "missing" and p >= pins - 2:
                continue
            x, y = pin_place(c, p, pins)
            identifier = p + 1
            if last and fault == "unknown":
                identifier = 99
            elif last and fault == "invalid-mate":
                x, y = pin_place(c + 8, 0, pins)
            elif last and fault == "self-mate":
                x, y = pin_place(c, 0, pins)
            insert, attrib, seqend = (format(number + k, "X") for k in range(3))
            number += 3
            chunk.append(
                f"  0\nINSERT\n  5\n{insert}\n330\n{model_space}\n100\nAcDbEntity\n  8\nPINOS\n"
                f"100\nAcDbBlockReference\n 66\n1\n  2\n{PIN_BLOCKS[p % 5]}\n"
                f" 10\n{x}\n 20\n{y}\n 30\n0.0\n"
                f"1001\nZR_PINO\n1000\n{name}\n1000\n{code}\n1000\n{flag}\n"
                f"  0\nATTRIB\n  5\n{attrib}\n330\n{insert}\n100\nAcDbEntity\n  8\nPINOS\n"
                f"100\nAcDbText\n 10\n{x + 0.6}\n 20\n{y}\n 30\n0.0\n 40\n0.3\n  1\n{identifier}\n"
                f"100\nAcDbAttribute\n280\n0\n  2\nID_PINO\n 70\n0\n"
                f"  0\nSEQEND\n  5\n{seqend}\n330\n{insert}\n100\nAcDbEntity\n  8\nPINOS\n")
        if len(chunk) > 4096:
            out.write("".join(chunk))
            chunk = []
    out.write("".join(chunk))
    out.write(tags((0, "ENDSEC")))
    h.next = number


def layout_object(handle, owner, name, tab_order, record):
    return tags(
        (0, "LAYOUT"), (5, handle), (102, "{ACAD_REACTORS"), (330, owner), (102, "}"),
        (330, owner), (100, "AcDbPlotSettings"), (1, ""), (2, "none_device"), (4, ""),
        (6, ""), (40, "0.0"), (41, "0.0"), (42, "0.0"), (43, "0.0"), (44, "0.0"),
        (45, "0.0"), (46, "0.0"), (47, "0.0"), (48, "0.0"), (49, "0.0"), (140, "0.0"),
        (141, "0.0"), (142, "1.0"), (143, "1.0"), (70, 688), (72, 0), (73, 0), (74, 5),
        (7, ""), (75, 16), (76, 0), (77, 2), (78, 300), (147, "1.0"), (148, "0.0"),
        (149, "0.0"), (100, "AcDbLayout"), (1, name), (70, 1), (71, tab_order),
        (10, "0.0"), (20, "0.0"), (11, "420.0"), (21, "297.0"), (12, "0.0"), (22, "0.0"),
        (32, "0.0"), (14, "0.0"), (24, "0.0"), (34, "0.0"), (15, "0.0"), (25, "0.0"),
        (35, "0.0"), (146, "0.0"), (13, "0.0"), (23, "0.0"), (33, "0.0"), (16, "1.0"),
        (26, "0.0"), (36, "0.0"), (17, "0.0"), (27, "1.0"), (37, "0.0"), (76, 0),
        (330, record))


def objects(ids):
    root, groups, layouts = ids["root"], ids["groups"], ids["layouts"]
    model, paper = ids["layout *Model_Space"], ids["layout *Paper_Space"]
    reactor = [(102, "{ACAD_REACTORS"), (330, root), (102, "}"), (330, root)]
    return (tags((0, "SECTION"), (2, "OBJECTS"),
                 (0, "DICTIONARY"), (5, root), (330, "0"), (100, "AcDbDictionary"),
                 (281, 1), (3, "ACAD_GROUP"), (350, groups), (3, "ACAD_LAYOUT"), (350, layouts),
                 (0, "DICTIONARY"), (5, groups), *reactor, (100, "AcDbDictionary"), (281, 1),
                 (0, "DICTIONARY"), (5, layouts), *reactor, (100, "AcDbDictionary"), (281, 1),
                 (3, "Layout1"), (350, paper), (3, "Model"), (350, model))
            + layout_object(model, layouts, "Model", 0, ids["*Model_Space"])
            + layout_object(paper, layouts, "Layout1", 1, ids["*Paper_Space"])
            + tags((0, "ENDSEC")))


def symbols(connectors, pins, findings):
    """How many pin symbols write_entities writes."""
    if not findings:
        return connectors * pins
    return sum(pins - (2 if fault_of(c, connectors, pins) == "missing" else 0) for c in range(connectors))


def write_drawing(path, connectors, pins, findings=False):
    h = Handles()
    ids = {}
    for key in ("root", "groups", "layouts", "layout *Model_Space", "layout *Paper_Space",
                "*Model_Space", "*Paper_Space") + PIN_BLOCKS:
        ids[key] = h.take()
    head = tables(h, ids) + blocks(h, ids)
    total = symbols(connectors, pins, findings) * 3
    seed = format(h.next + total, "X")
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write(header(seed))
        out.write(tags((0, "SECTION"), (2, "CLASSES"), (0, "ENDSEC")))
        out.write(head)
        write_entities(out, h, ids["*Model_Space"], connectors, pins, findings)
        out.write(objects(ids))
        out.write(tags((0, "EOF")))
    assert format(h.next, "X") == seed


def check(path, connectors, pins, findings):
    """Reads the drawing with ezdxf and checks what it holds."""
    import ezdxf
    doc = ezdxf.readfile(path)
    inserts = doc.modelspace().query("INSERT")
    assert len(inserts) == symbols(connectors, pins, findings), len(inserts)
    first = inserts[0]
    assert [a.dxf.tag for a in first.attribs] == ["ID_PINO"]
    assert [t.value for t in first.get_xdata("ZR_PINO")] == ["X1", "CON-00001", "S"]
    auditor = doc.audit()
    assert not auditor.has_errors, [e.message for e in auditor.errors]
    print(f"make_bench_drawing: ezdxf reads {len(inserts)} pin symbols from {path}")


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("output")
    parser.add_argument("--connectors", type=int, default=10000)
    parser.add_argument("--pins", type=int, default=20)
    parser.add_argument("--findings", action="store_true",
                        help="every second connector drawn wrong (about one finding per connector)")
    parser.add_argument("--check", action="store_true",
                        help="read the result back with ezdxf (slow for big drawings)")
    args = parser.parse_args(argv)
    if args.connectors < 1 or args.pins < 1:
        parser.error("--connectors and --pins must be positive")
    write_drawing(args.output, args.connectors, args.pins, args.findings)
    if args.check:
        check(args.output, args.connectors, args.pins, args.findings)
    return 0


if __name__ == "__main__":
    sys.exit(main())
