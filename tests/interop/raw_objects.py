"""Entities, objects and classes that ezdxf cannot create, written as tags.

A custom entity and a custom object stand for what other applications put
in drawings: a reader that does not know them must keep them as they are.
They are made by replacing a placeholder that ezdxf wrote (a POINT or an
XRECORD) with the custom tags, keeping the placeholder's handle, reactors
and owner, so the drawing stays consistent.
"""

CUSTOM_ENTITY = "ZRCUSTOMENTITY"
CUSTOM_OBJECT = "ZRCUSTOMOBJECT"


def _custom_entity_body(target_handle):
    return [
        ("100", "AcDbEntity"), ("8", "Conectores"), ("62", "3"),
        ("100", "ZrCustomEntity"), ("1", "Anotação livre"),
        ("10", "5.0"), ("20", "6.0"), ("30", "0.0"), ("40", "2.5"), ("70", "7"),
        ("90", "123456"), ("330", target_handle),
        ("1001", "ZR_TESTE"), ("1000", "dado de entidade própria"), ("1070", "5"),
    ]


def _custom_object_body(target_handle):
    return [
        ("100", "ZrCustomObject"), ("1", "Configuração"), ("70", "2"),
        ("40", "0.125"), ("340", target_handle), ("1", "  espaços  "),
    ]


def _class_entry(name, cpp_name, is_entity, version):
    tags = [("0", "CLASS"), ("1", name), ("2", cpp_name), ("3", "ZRConector test data"),
            ("90", "0")]
    if version >= "AC1018":
        tags.append(("91", "1"))
    tags += [("280", "0"), ("281", "1" if is_entity else "0")]
    return tags


def _format(tags):
    return [line for code, value in tags for line in (code.rjust(3), value)]


def _find_entity(lines, handle):
    """Line index of the (0, TYPE) pair of the entity with this handle."""
    for i in range(0, len(lines) - 3, 2):
        if lines[i].strip() == "0" and lines[i + 2].strip() == "5" and lines[i + 3] == handle:
            return i
    raise ValueError(f"placeholder #{handle} not found")


def _entity_end(lines, start):
    i = start + 2
    while i < len(lines) - 1 and lines[i].strip() != "0":
        i += 2
    return i


def _replace(lines, handle, new_type, body):
    start = _find_entity(lines, handle)
    end = _entity_end(lines, start)
    head = []  # handle, application data, reactors, extension dictionary, owner
    i = start + 2
    while i < end and lines[i].strip() != "100":
        head += lines[i:i + 2]
        i += 2
    lines[start:end] = ["  0", new_type] + head + _format(body)


def add_custom_objects(text, version, entity_handles, object_handles, target_handle):
    """Returns the drawing text with the placeholders replaced and the
    classes of both custom types registered in the CLASSES section."""
    lines = text.split("\n")
    for handle in entity_handles:
        _replace(lines, handle, CUSTOM_ENTITY, _custom_entity_body(target_handle))
    for handle in object_handles:
        _replace(lines, handle, CUSTOM_OBJECT, _custom_object_body(target_handle))
    for i in range(0, len(lines) - 1, 2):
        if lines[i].strip() == "2" and lines[i + 1] == "CLASSES":
            lines[i + 2:i + 2] = (
                _format(_class_entry(CUSTOM_ENTITY, "ZrCustomEntity", True, version))
                + _format(_class_entry(CUSTOM_OBJECT, "ZrCustomObject", False, version)))
            break
    else:
        raise ValueError("no CLASSES section")
    return "\n".join(lines)
