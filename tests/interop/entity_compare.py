"""Differences between two versions of one DXF entity, as ezdxf sees them.

Every function here returns a list of (handle, message) pairs; the handle
tells which object a difference belongs to, so that callers can ignore
objects they changed on purpose. Values are compared exactly: a lossless
reader and writer must give back the same numbers, not close ones.
"""

import difflib
from array import array

from ezdxf.entities import DXFTagStorage
from ezdxf.lldxf.tagwriter import TagCollector

# How many differing tags to list for one group of tags before summarising.
MAX_TAG_REPORTS = 5


def norm(value):
    """Turns an ezdxf value into plain data whose == is exact equality.

    ezdxf's vectors compare with a tolerance, and tags, arrays and vectors
    print badly; tuples of floats do neither."""
    if isinstance(value, (str, int, float, bytes)) or value is None:
        return value
    if hasattr(value, "code") and hasattr(value, "value"):  # DXFTag family
        return (value.code, norm(value.value))
    if isinstance(value, (array, list, tuple)):
        return tuple(norm(v) for v in value)
    if hasattr(value, "x") and hasattr(value, "y"):  # Vec2 / Vec3
        return tuple(float(c) for c in value)
    return repr(value)


def plain_tags(tags):
    """A list of (code, value) tuples from any ezdxf tag container."""
    result = []
    for tag in tags:
        if hasattr(tag, "dxftags"):  # DXFVertex: one tag per coordinate
            result.extend(norm(t) for t in tag.dxftags())
        else:
            result.append(norm(tag))
    return result


def tag_list_diff(where, a_tags, b_tags):
    """Messages for the differences between two lists of (code, value)."""
    if a_tags == b_tags:
        return []
    out = []
    matcher = difflib.SequenceMatcher(a=a_tags, b=b_tags, autojunk=False)
    for op, i1, i2, j1, j2 in matcher.get_opcodes():
        if op == "equal":
            continue
        if len(out) == MAX_TAG_REPORTS:
            out.append(f"{where}: ... more tag differences")
            break
        old = a_tags[i1:i2]
        new = b_tags[j1:j2]
        if op == "replace":
            out.append(f"{where}: tags at #{i1} {old!r} -> {new!r}")
        elif op == "delete":
            out.append(f"{where}: tags removed at #{i1}: {old!r}")
        else:
            out.append(f"{where}: tags added at #{i1}: {new!r}")
    return out


def sequence_diff(where, a_items, b_items):
    """Membership and order differences between two lists of handles.

    Returns (handle, message) pairs, one per handle that was added, removed
    or moved, so that an allowed new or deleted object hides its own entry."""
    if a_items == b_items:
        return []
    out = []
    a_set, b_set = set(a_items), set(b_items)
    for h in a_items:
        if h not in b_set:
            out.append((h, f"{where}: #{h} missing (was at position {a_items.index(h)})"))
    for h in b_items:
        if h not in a_set:
            out.append((h, f"{where}: #{h} added at position {b_items.index(h)}"))
    common_a = [h for h in a_items if h in b_set]
    common_b = [h for h in b_items if h in a_set]
    if common_a != common_b:
        moved = difflib.SequenceMatcher(a=common_a, b=common_b, autojunk=False)
        kept = {common_a[m.a + k] for m in moved.get_matching_blocks() for k in range(m.size)}
        for h in common_a:
            if h not in kept:
                out.append((h, f"{where}: #{h} moved from position "
                               f"{a_items.index(h)} to {b_items.index(h)}"))
    return out


def entity_tags(entity, dxfversion):
    """The tags ezdxf would write for this entity alone.

    INSERT and POLYLINE also write their ATTRIBs/VERTEXes and SEQEND; those
    are compared as entities of their own, so the list stops before them."""
    collector = TagCollector(dxfversion=dxfversion)
    entity.export_dxf(collector)
    tags = plain_tags(collector.tags)
    for i in range(1, len(tags)):
        if tags[i][0] == 0:
            return tags[:i]
    return tags


def describe(entity):
    return f"{entity.dxftype()} #{entity.dxf.handle}"


def _by_app(container):
    """appid -> list of plain tags, in file order, for XData and AppData."""
    if not container:
        return {}
    return {app: plain_tags(tags) for app, tags in container.data.items()}


def _app_groups_diff(where, kind, a_groups, b_groups):
    out = []
    for app in a_groups:
        if app not in b_groups:
            out.append(f"{where}: {kind} of {app!r} removed: {a_groups[app]!r}")
    for app in b_groups:
        if app not in a_groups:
            out.append(f"{where}: {kind} of {app!r} added: {b_groups[app]!r}")
    for app in a_groups:
        if app in b_groups:
            out += tag_list_diff(f"{where}: {kind} of {app!r}", a_groups[app], b_groups[app])
    common = [app for app in a_groups if app in b_groups]
    if common != [app for app in b_groups if app in a_groups]:
        out.append(f"{where}: {kind} application order {list(a_groups)} -> {list(b_groups)}")
    return out


def _xdict_handle(entity):
    if entity.has_extension_dict:
        return entity.extension_dict.dictionary.dxf.handle
    return None


def _reactors(entity):
    return entity.reactors.get() if entity.reactors else []


def _dictionary_entries(dictionary):
    """(key, handle) pairs in the dictionary's order."""
    out = []
    for key, value in dictionary.items():
        out.append((key, value if isinstance(value, str) else value.dxf.handle))
    return out


def _specific_diff(where, handle, a, b):
    """Contents that are not plain DXF attributes: entries, tags, children."""
    kind = a.dxftype()
    if kind == "INSERT":
        return sequence_diff(f"{where}: ATTRIBs", [x.dxf.handle for x in a.attribs],
                             [x.dxf.handle for x in b.attribs])
    if kind == "POLYLINE":
        return sequence_diff(f"{where}: VERTEXes", [x.dxf.handle for x in a.vertices],
                             [x.dxf.handle for x in b.vertices])
    out = []
    if kind in ("DICTIONARY", "ACDBDICTIONARYWDFLT"):
        ea, eb = _dictionary_entries(a), _dictionary_entries(b)
        da, db = dict(ea), dict(eb)
        for key, h in ea:
            if key not in db:
                out.append(f"{where}: entry {key!r} (#{h}) removed")
            elif db[key] != h:
                out.append(f"{where}: entry {key!r} #{h} -> #{db[key]}")
        for key, h in eb:
            if key not in da:
                out.append(f"{where}: entry {key!r} (#{h}) added")
        if [k for k, _ in ea if k in db] != [k for k, _ in eb if k in da]:
            out.append(f"{where}: entry order {[k for k, _ in ea]} -> {[k for k, _ in eb]}")
    elif kind == "XRECORD":
        out += tag_list_diff(f"{where}: XRECORD tags", plain_tags(a.tags), plain_tags(b.tags))
    elif isinstance(a, DXFTagStorage) and isinstance(b, DXFTagStorage):
        for i, (sa, sb) in enumerate(zip(a.xtags.subclasses, b.xtags.subclasses)):
            out += tag_list_diff(f"{where}: subclass {i}", plain_tags(sa), plain_tags(sb))
        if len(a.xtags.subclasses) != len(b.xtags.subclasses):
            out.append(f"{where}: subclass count {len(a.xtags.subclasses)}"
                       f" -> {len(b.xtags.subclasses)}")
    return [(handle, m) for m in out]


def entity_diff(a, b, dxfversion_a, dxfversion_b):
    """All differences between entity a (first drawing) and b (second)."""
    handle = a.dxf.handle
    where = describe(a)
    if a.dxftype() != b.dxftype():
        return [(handle, f"{where}: type {a.dxftype()} -> {b.dxftype()}")]
    out = []
    da = a.dxf.all_existing_dxf_attribs()
    db = b.dxf.all_existing_dxf_attribs()
    for key in da:
        if key not in db:
            out.append(f"{where}: attribute {key} removed (was {norm(da[key])!r})")
        elif norm(da[key]) != norm(db[key]):
            out.append(f"{where}: attribute {key} {norm(da[key])!r} -> {norm(db[key])!r}")
    for key in db:
        if key not in da:
            out.append(f"{where}: attribute {key} added: {norm(db[key])!r}")
    out += _app_groups_diff(where, "extended data", _by_app(a.xdata), _by_app(b.xdata))
    out += _app_groups_diff(where, "application data", _by_app(a.appdata), _by_app(b.appdata))
    if _reactors(a) != _reactors(b):
        out.append(f"{where}: reactors {_reactors(a)} -> {_reactors(b)}")
    if _xdict_handle(a) != _xdict_handle(b):
        out.append(f"{where}: extension dictionary {_xdict_handle(a)} -> {_xdict_handle(b)}")
    result = [(handle, m) for m in out]
    result += _specific_diff(where, handle, a, b)
    if not result:
        # Anything else ezdxf knows about the entity (vertices, paths,
        # embedded objects, ...) shows in the tags it would write.
        tags_a = entity_tags(a, dxfversion_a)
        tags_b = entity_tags(b, dxfversion_b)
        result = [(handle, m) for m in tag_list_diff(where, tags_a, tags_b)]
    return result
