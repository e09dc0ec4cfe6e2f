#!/usr/bin/python3
"""Generates the interoperability test drawings with ezdxf.

    make_drawings.py OUTDIR        writes OUTDIR/<name>.dxf for every drawing
    make_drawings.py --list        prints the drawing names, one a line

The output is the same on every run (fixed time stamps and GUIDs), so a
failing round trip can be reproduced from the drawing's name alone. Every
drawing is read back with ezdxf before the script reports success.
"""

import codecs
import io
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

VERSIONS = {"r2000": "AC1015", "r2004": "AC1018", "r2007": "AC1021",
            "r2010": "AC1024", "r2013": "AC1027", "r2018": "AC1032"}
# ezdxf writes null GUIDs when its time stamps are fixed; real files carry
# real ones, so they are replaced by constants.
FIXED_GUIDS = ("{3F2A6C1E-5B7D-4E8F-9A0B-1C2D3E4F5A6B}",
               "{7E1D2C3B-4A59-4687-A9B8-C7D6E5F4A3B2}")

PORTUGUESE = "Conexão çã é ÇÃÉ ô ü"
GREEK_CJK = "α Ω 中文"
CYRILLIC = "Разъём соединителя"


def features_drawing(version):
    """Everything at once: blocks with ATTDEFs, references with attributes
    and extended data, geometry, dictionaries, XRECORDs, an extension
    dictionary, reactors, application data, groups, paper space layouts,
    an image, a custom entity and a custom object."""
    import ezdxf
    import drawing_content as content
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    content.add_layers_and_styles(doc)
    block_placeholder = content.add_attribute_blocks(doc)
    line = content.add_geometry(doc, msp, version)
    content.add_references(doc, msp, line.dxf.handle)
    entity_placeholder = msp.add_point((8, 8)).dxf.handle
    object_placeholder = content.add_object_data(doc, line)
    content.add_paper_space(doc, line.dxf.handle)
    content.add_pin_symbols(doc, msp, connectors=2, pins=3)
    content.add_group_and_header(doc, [line])

    def post(text):
        import raw_objects
        return raw_objects.add_custom_objects(
            text, version, [entity_placeholder, block_placeholder],
            [object_placeholder], line.dxf.handle)
    return doc, post


def pins_drawing(version):
    """The project's pin symbols in model space and paper space, with a
    reference to a block that is not a pin symbol."""
    import ezdxf
    import drawing_content as content
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    content.add_pin_symbols(doc, msp, connectors=4, pins=5)
    content.add_pin_symbols(doc, doc.layout("Layout1"), connectors=1, pins=2, start=4)
    other = doc.blocks.new("TERMINAL")
    other.add_attdef("ID_PINO", (0, 0))
    ref = msp.add_blockref("TERMINAL", (0, -10))
    ref.add_auto_attribs({"ID_PINO": "T1"})
    return doc, None


def text_drawing(version, encoding, sample, word):
    """Non-ASCII text in every place a string can be: layer, block and
    attribute names, TEXT, MTEXT, ATTRIB values, extended data, XRECORDs,
    dictionary keys. Names use `word`, which the code page can encode
    (a name with an escape is not a valid name)."""
    import ezdxf
    import drawing_content as content
    doc = ezdxf.new(version)
    if encoding:
        doc.encoding = encoding
    msp = doc.modelspace()
    content.register_apps(doc, ["ZR_TEXTO"])
    doc.layers.add("Camada " + word, color=2)
    block = doc.blocks.new("SÍMBOLO_" + word)
    block.add_attdef("TAG_" + word, (0, 0), dxfattribs={"prompt": "Descrição: " + sample})
    ref = msp.add_blockref("SÍMBOLO_" + word, (1, 1), dxfattribs={"layer": "Camada " + word})
    ref.add_auto_attribs({"TAG_" + word: sample})
    ref.set_xdata("ZR_TEXTO", [(1000, sample), (1000, "ação"), (1070, 1)])
    msp.add_text(sample, dxfattribs={"insert": (0, 5)})
    msp.add_mtext(sample + "\\P" + sample, dxfattribs={"insert": (0, 10)})
    data = doc.rootdict.add_new_dict("ZR_TEXTOS")
    data.add_xrecord("Configuração " + word).reset([(1, sample), (1, "fim ç")])
    return doc, None


def crlf(build):
    """The same drawing with CR LF line ends."""
    def builder():
        doc, post = build()
        return doc, post, "\r\n"
    return builder


def _lf(build):
    def builder():
        doc, post = build()
        return doc, post, "\n"
    return builder


def drawings():
    """name -> builder returning (document, text post-processor, line end)."""
    table = {}
    for short, version in VERSIONS.items():
        table[f"features_{short}"] = _lf(lambda v=version: features_drawing(v))
    table["features_r2000_crlf"] = crlf(lambda: features_drawing("AC1015"))
    table["features_r2018_crlf"] = crlf(lambda: features_drawing("AC1032"))
    table["pins_r2013"] = _lf(lambda: pins_drawing("AC1027"))
    table["pins_r2000_crlf"] = crlf(lambda: pins_drawing("AC1015"))
    table["text_r2000_ansi1252"] = _lf(
        lambda: text_drawing("AC1015", "cp1252", f"{PORTUGUESE} {GREEK_CJK}", "Ligação"))
    table["text_r2000_ansi1252_crlf"] = crlf(
        lambda: text_drawing("AC1015", "cp1252", f"{PORTUGUESE} {GREEK_CJK}", "Ligação"))
    table["text_r2004_ansi1251"] = _lf(
        lambda: text_drawing("AC1018", "cp1251", f"{CYRILLIC} {PORTUGUESE}", "Разъём"))
    table["text_r2007_utf8"] = _lf(
        lambda: text_drawing("AC1021", None, f"{PORTUGUESE} {GREEK_CJK} {CYRILLIC}", "Ligação"))
    table["text_r2018_utf8_crlf"] = crlf(
        lambda: text_drawing("AC1032", None, f"{PORTUGUESE} {GREEK_CJK}", "中文"))
    return table


def write_drawing(builder, path):
    import ezdxf
    ezdxf.options.write_fixed_meta_data_for_testing = True
    doc, post, line_end = builder()
    stream = io.StringIO()
    doc.write(stream)
    text = stream.getvalue()
    null_guid = "{00000000-0000-0000-0000-000000000000}"
    for guid in FIXED_GUIDS:
        text = text.replace(null_guid, guid, 1)
    if post:
        text = post(text)
    data = text.encode(doc.output_encoding, errors=UNICODE_ESCAPE)
    if line_end != "\n":
        data = data.replace(b"\n", line_end.encode())
    with open(path, "wb") as out:
        out.write(data)
    ezdxf.readfile(path)  # fails loudly if ezdxf cannot read what was made


def _unicode_escape(error):
    """Writes a character the code page lacks as \\U+XXXX, as CAD programs
    do. (ezdxf's own handler writes \\xNN for characters below 256.)"""
    text = error.object[error.start:error.end]
    return "".join(f"\\U+{ord(c):04X}" for c in text), error.end


UNICODE_ESCAPE = "zr_dxf_unicode_escape"
codecs.register_error(UNICODE_ESCAPE, _unicode_escape)


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    table = drawings()
    if argv[1] == "--list":
        print("\n".join(table))
        return 0
    os.makedirs(argv[1], exist_ok=True)
    for name, builder in table.items():
        write_drawing(builder, os.path.join(argv[1], name + ".dxf"))
    print(f"make_drawings: {len(table)} drawings in {argv[1]}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
