#!/usr/bin/python3
"""Compares two DXF drawings as ezdxf sees them and prints every difference.

    dxf_compare.py A.dxf B.dxf [--allow-changed HANDLE,...]

Compared: version and encoding, every header variable (values exactly;
$HANDSEED may only grow), custom properties, classes, every table with its
entries, every block record with BLOCK, its entities in order and ENDBLK,
every object of the OBJECTS section in order, and every object ezdxf holds
by handle: type, owner, all DXF attributes, extended data of each
application, application data, reactors, extension dictionary, ATTRIBs of
INSERTs, dictionary entries, XRECORD tags, unknown objects' tags, and the
tags ezdxf would write for the entity. Sections ezdxf keeps as raw tags
(ACDSDATA, unknown sections) are compared tag by tag.

Exit status: 0 equal, 1 differences found, 2 a drawing could not be read.

As a library: diff_files(a, b, allow_changed={"1F"}), or diff(doc_a, doc_b,
allow_changed=...) on drawings read with load(), returns the list of
difference messages, so edit tests can check "everything equal except X".
load() is meant for comparing only: a drawing it read gives new objects
very high handles, so edit drawings read with ezdxf.readfile instead.
"""

import argparse
import contextlib
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import ezdxf  # noqa: E402
import ezdxf.document  # noqa: E402
from ezdxf import recover  # noqa: E402
from ezdxf.document import Drawing  # noqa: E402
from ezdxf.lldxf.const import DXFStructureError  # noqa: E402
from ezdxf.lldxf.tagwriter import TagCollector  # noqa: E402

from entity_compare import (  # noqa: E402
    entity_diff, norm, plain_tags, sequence_diff, tag_list_diff)

TABLES = ("viewports", "linetypes", "layers", "styles", "views", "ucs",
          "appids", "dimstyles", "block_records")


def load(path):
    """Reads a drawing with ezdxf; falls back to the recovering reader for
    files that readfile refuses but ezdxf can still make sense of."""
    with _file_metadata_kept():
        try:
            return ezdxf.readfile(path)
        except DXFStructureError:
            doc, _auditor = recover.readfile(path)
            return doc


# First handle for objects that ezdxf makes while loading: far above any
# handle of a real file.
MADE_UP_HANDLES = "100000000000"


@contextlib.contextmanager
def _file_metadata_kept():
    """Two adjustments to ezdxf's loading, so that what is compared is what
    is in the file:
    - ezdxf stamps $TDCREATE with the current time and replaces null GUIDs
      with random ones; that step is skipped.
    - objects ezdxf adds when a file lacks them (layouts, dictionaries,
      provisional SEQENDs) take handles from $HANDSEED, so the same content
      would compare different after an edit that moved $HANDSEED; they take
      handles from a fixed high number instead. $HANDSEED itself is still
      read and compared as it is in the file."""
    saved_metadata = Drawing._setup_metadata
    saved_seed = ezdxf.document._validate_handle_seed
    Drawing._setup_metadata = lambda self: None
    ezdxf.document._validate_handle_seed = lambda seed: MADE_UP_HANDLES
    try:
        yield
    finally:
        Drawing._setup_metadata = saved_metadata
        ezdxf.document._validate_handle_seed = saved_seed


class _Comparer:
    def __init__(self, a, b):
        self.a = a
        self.b = b
        self.found = []  # (handle or None, message)

    def add(self, message, handle=None):
        self.found.append((handle, message))

    def run(self):
        self.document()
        self.header()
        self.classes()
        self.tables()
        self.blocks()
        self.objects()
        self.by_handle()
        self.raw_sections()
        return self.found

    def document(self):
        if self.a.dxfversion != self.b.dxfversion:
            self.add(f"drawing: version {self.a.dxfversion} -> {self.b.dxfversion}")
        if self.a.encoding.lower() != self.b.encoding.lower():
            self.add(f"drawing: encoding {self.a.encoding} -> {self.b.encoding}")

    def header(self):
        ha, hb = self.a.header.hdrvars, self.b.header.hdrvars
        for name, var in ha.items():
            if name not in hb:
                self.add(f"HEADER {name}: removed (was {norm(var.value)!r})")
                continue
            old, new = (var.code, norm(var.value)), (hb[name].code, norm(hb[name].value))
            if name == "$HANDSEED" and old[0] == new[0]:
                if _hex(new[1]) < _hex(old[1]):
                    self.add(f"HEADER $HANDSEED: went down {old[1]!r} -> {new[1]!r}")
            elif old != new:
                self.add(f"HEADER {name}: {old!r} -> {new!r}")
        for name in hb:
            if name not in ha:
                self.add(f"HEADER {name}: added {norm(hb[name].value)!r}")
        common_a = [n for n in ha if n in hb]
        common_b = [n for n in hb if n in ha]
        if common_a != common_b:
            for i, (na, nb) in enumerate(zip(common_a, common_b)):
                if na != nb:
                    self.add(f"HEADER: variable order differs from #{i}: {na} -> {nb}")
                    break
        ca, cb = list(self.a.header.custom_vars), list(self.b.header.custom_vars)
        if ca != cb:
            self.add(f"HEADER custom properties {ca!r} -> {cb!r}")

    def classes(self):
        ca = [_class_tags(c, self.a.dxfversion) for c in self.a.classes]
        cb = [_class_tags(c, self.b.dxfversion) for c in self.b.classes]
        names_a = [_class_name(t) for t in ca]
        names_b = [_class_name(t) for t in cb]
        by_name_b = dict(zip(names_b, cb))
        for name, tags in zip(names_a, ca):
            if name not in by_name_b:
                self.add(f"CLASSES {name}: removed")
            else:
                for m in tag_list_diff(f"CLASSES {name}", tags, by_name_b[name]):
                    self.add(m)
        for name in names_b:
            if name not in names_a:
                self.add(f"CLASSES {name}: added")
        if [n for n in names_a if n in by_name_b] != [n for n in names_b if n in names_a]:
            self.add(f"CLASSES: order {names_a} -> {names_b}")

    def tables(self):
        for attr in TABLES:
            ta, tb = getattr(self.a.tables, attr), getattr(self.b.tables, attr)
            ha, hb = ta.head.dxf.handle, tb.head.dxf.handle
            label = f"TABLE {ta.head.dxf.name}"
            if ha != hb:
                self.add(f"{label}: table handle {ha} -> {hb}", ha)
            self._sequence(f"{label} entries", _handles(ta), _handles(tb))

    def blocks(self):
        records_a = list(self.a.block_records)
        records_b = {r.dxf.handle: r for r in self.b.block_records}
        for ra in records_a:
            rb = records_b.get(ra.dxf.handle)
            if rb is None:
                continue  # reported with the BLOCK_RECORD table
            label = f"BLOCK {ra.dxf.name!r} (BLOCK_RECORD #{ra.dxf.handle})"
            for part in ("block", "endblk"):
                pa, pb = getattr(ra, part, None), getattr(rb, part, None)
                ha = pa.dxf.handle if pa is not None else None
                hb = pb.dxf.handle if pb is not None else None
                if ha != hb:
                    self.add(f"{label}: {part.upper()} #{ha} -> #{hb}", ra.dxf.handle)
            self._sequence(f"{label} entities", _handles(ra.entity_space),
                           _handles(rb.entity_space))

    def objects(self):
        self._sequence("OBJECTS", _handles(self.a.objects), _handles(self.b.objects))
        ra, rb = self.a.rootdict.dxf.handle, self.b.rootdict.dxf.handle
        if ra != rb:
            self.add(f"OBJECTS: root dictionary #{ra} -> #{rb}", ra)

    def by_handle(self):
        live_a, live_b = _live_objects(self.a), _live_objects(self.b)
        for handle, ea in live_a.items():
            eb = live_b.get(handle)
            if eb is None:
                self.add(f"{ea.dxftype()} #{handle}: missing in the second drawing", handle)
                continue
            self.found += entity_diff(ea, eb, self.a.dxfversion, self.b.dxfversion)
        for handle, eb in live_b.items():
            if handle not in live_a:
                self.add(f"{eb.dxftype()} #{handle}: added in the second drawing", handle)

    def raw_sections(self):
        for m in tag_list_diff("ACDSDATA", _acds_tags(self.a), _acds_tags(self.b)):
            self.add(m)
        sa = [plain_tags(t) for s in self.a.stored_sections for t in s.entities]
        sb = [plain_tags(t) for s in self.b.stored_sections for t in s.entities]
        flat_a = [t for group in sa for t in group]
        flat_b = [t for group in sb for t in group]
        for m in tag_list_diff("unknown sections", flat_a, flat_b):
            self.add(m)

    def _sequence(self, where, a_items, b_items):
        self.found += sequence_diff(where, a_items, b_items)


def _live_objects(doc):
    """handle -> object for everything the drawing holds.

    While loading, ezdxf gives every INSERT and POLYLINE a provisional SEQEND
    (handles taken from $HANDSEED) and then links the SEQEND read from the
    file; the provisional ones stay in the database without a parent, and an
    INSERT without ATTRIBs keeps its provisional one. Neither is in the file,
    so both are left out."""
    linked = set()
    for entity in doc.entitydb.values():
        seqend = getattr(entity, "seqend", None)
        if not entity.is_alive or seqend is None:
            continue
        if entity.dxftype() == "POLYLINE" or (entity.dxftype() == "INSERT" and entity.attribs):
            linked.add(id(seqend))
    return {h: e for h, e in doc.entitydb.items()
            if e.is_alive and (e.dxftype() != "SEQEND" or id(e) in linked)}


def _hex(text):
    try:
        return int(text, 16)
    except (TypeError, ValueError):
        return -1


def _handles(entities):
    return [e.dxf.handle for e in entities]


def _class_tags(dxfclass, dxfversion):
    collector = TagCollector(dxfversion=dxfversion)
    dxfclass.export_dxf(collector)
    return plain_tags(collector.tags)


def _class_name(tags):
    return next((value for code, value in tags if code == 1), "?")


def _acds_tags(doc):
    if not doc.acdsdata.is_valid:
        return []
    collector = TagCollector(dxfversion=doc.dxfversion)
    doc.acdsdata.export_dxf(collector)
    return plain_tags(collector.tags)


def diff(doc_a, doc_b, allow_changed=()):
    """Every difference between two loaded drawings, as messages.

    allow_changed: handles (any case) whose own differences are ignored:
    changes of those objects, and their appearing, disappearing or moving
    within a table, block, layout or the OBJECTS section."""
    allowed = {h.upper() for h in allow_changed}
    found = _Comparer(doc_a, doc_b).run()
    return [m for h, m in found if h is None or h.upper() not in allowed]


def diff_files(path_a, path_b, allow_changed=()):
    return diff(load(path_a), load(path_b), allow_changed)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("first")
    parser.add_argument("second")
    parser.add_argument("--allow-changed", default="",
                        help="comma-separated handles whose changes are ignored")
    args = parser.parse_args(argv)
    allowed = [h.strip() for h in args.allow_changed.split(",") if h.strip()]
    docs = []
    for path in (args.first, args.second):
        try:
            docs.append(load(path))
        except (IOError, OSError, DXFStructureError, UnicodeDecodeError) as exc:
            print(f"dxf_compare: cannot read {path}: {exc}", file=sys.stderr)
            return 2
    differences = diff(docs[0], docs[1], allowed)
    for message in differences:
        print(message)
    if differences:
        print(f"dxf_compare: {len(differences)} difference(s) between "
              f"{args.first} and {args.second}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
