"""Content of the interoperability test drawings, added through ezdxf.

Each function fills an ezdxf document with one kind of content. Objects
that ezdxf cannot make (a custom entity and a custom object) get an ezdxf
placeholder whose handle they take over when the text is post-processed,
see raw_objects.py; the functions return those placeholders' handles.
"""

from ezdxf.math import Vec3

# Extended data applications and the kinds of value each carries.
XDATA_APPS = ("ZR_TESTE", "ZR_NUMEROS", "ZR_GEOMETRIA")


def register_apps(doc, names):
    for name in names:
        if name not in doc.appids:
            doc.appids.add(name)


def add_layers_and_styles(doc):
    doc.linetypes.add("TRACO_ZR", pattern=[0.75, 0.5, -0.25], description="Traço __ __ __")
    doc.layers.add("Conectores", color=3, linetype="TRACO_ZR")
    layer = doc.layers.add("Cabos")
    layer.rgb = (200, 100, 50)
    doc.layers.add("Anotações", color=5)
    doc.styles.add("ZR_TEXTO", font="arial.ttf")


def add_attribute_blocks(doc):
    """A block with a constant and a variable ATTDEF, and a nested block."""
    caixa = doc.blocks.new("CAIXA", base_point=(0, 0))
    caixa.add_lwpolyline([(0, 0), (4, 0), (4, 2), (0, 2)], close=True)
    caixa.add_attdef("FABRICANTE", (0.2, 1.4), text="ZR Indústria",
                     dxfattribs={"flags": 2, "height": 0.25})  # constant
    caixa.add_attdef("REF", (0.2, 0.8), text="REF?",
                     dxfattribs={"prompt": "Referência da caixa", "height": 0.25})
    caixa.add_attdef("OCULTO", (0.2, 0.2), text="",
                     dxfattribs={"flags": 1, "height": 0.2})  # invisible
    placeholder = caixa.add_point((2, 1))
    nested = doc.blocks.new("CAIXA_DUPLA")
    nested.add_blockref("CAIXA", (0, 0))
    nested.add_blockref("CAIXA", (5, 0), dxfattribs={"rotation": 90, "xscale": 2})
    return placeholder.dxf.handle


def full_xdata():
    """Extended data of several applications with every kind of value."""
    return {
        "ZR_TESTE": [(1000, "texto livre"), (1002, "{"), (1000, "dentro"),
                     (1070, 12), (1002, "}"), (1003, "Conectores"),
                     (1004, b"\x01\x02\xfe"), (1000, "com espaço final  ")],
        "ZR_NUMEROS": [(1070, -3), (1071, 2000000000), (1040, 3.141592653589793),
                       (1041, 0.1), (1042, 1e-9)],
        "ZR_GEOMETRIA": [(1010, Vec3(1.5, 2.25, 0)), (1011, Vec3(-1, 0, 7)),
                         (1012, Vec3(0.5, 0.5, 0)), (1013, Vec3(0, 0, 1))],
    }


def add_references(doc, layout, handle_target):
    """INSERTs with attributes and extended data; returns the first one."""
    register_apps(doc, XDATA_APPS)
    first = layout.add_blockref("CAIXA", (10, 10), dxfattribs={"layer": "Conectores"})
    first.add_auto_attribs({"REF": "CX-001", "OCULTO": "segredo"})
    for app, tags in full_xdata().items():
        first.set_xdata(app, tags)
    first.set_xdata("ZR_TESTE", full_xdata()["ZR_TESTE"] + [(1005, handle_target)])
    second = layout.add_blockref("CAIXA", (20, 10), dxfattribs={"rotation": 30})
    second.add_auto_attribs({"REF": "CX-002 çãé"})
    second.set_xdata("ZR_NUMEROS", [(1070, 1)])
    layout.add_blockref("CAIXA_DUPLA", (0, 30), dxfattribs={"xscale": 0.5, "yscale": 0.5})
    return first


def add_geometry(doc, layout, version):
    """Entities a connector tool does not interpret but must keep."""
    line = layout.add_line((0, 0), (10, 5), dxfattribs={"layer": "Cabos"})
    layout.add_circle((5, 5), 2.5, dxfattribs={"color": 1})
    layout.add_arc((5, 5), 3, 10, 170)
    layout.add_text("Conexão principal", dxfattribs={"insert": (1, 1), "height": 0.5,
                                                     "style": "ZR_TEXTO"})
    layout.add_mtext("Linha 1\\PLinha 2 ção", dxfattribs={"insert": (0, 20), "char_height": 0.4})
    layout.add_lwpolyline([(0, 0, 0, 0, 0.5), (3, 0), (3, 3)], format="xyseb")
    layout.add_polyline2d([(0, 0), (1, 2), (3, 1)], dxfattribs={"layer": "Cabos"})
    layout.add_polyline3d([(0, 0, 0), (1, 1, 1), (2, 0, 2)])
    face = layout.add_polyface()
    face.append_face([(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)])
    layout.add_spline([(0, 0), (2, 3), (4, -1), (6, 2)])
    hatch = layout.add_hatch(color=2)
    hatch.paths.add_polyline_path([(0, 0), (2, 0), (2, 2), (0, 2)], is_closed=True)
    layout.add_ellipse((10, 0), major_axis=(3, 0), ratio=0.5)
    layout.add_point((7, 7))
    layout.add_solid([(0, 0), (1, 0), (0, 1)])
    layout.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 1)])
    layout.add_xline((0, 0), (1, 1))
    layout.add_linear_dim(base=(0, 3), p1=(0, 0), p2=(3, 0)).render()
    layout.add_leader([(0, 0), (2, 2), (4, 2)])
    image_def = doc.add_image_def(filename="foto_conector.png", size_in_pixel=(640, 480))
    layout.add_image(image_def, insert=(30, 0), size_in_units=(6.4, 4.8))
    if version >= "AC1024":
        mesh = layout.add_mesh()
        with mesh.edit_data() as data:
            data.vertices = [(0, 0, 0), (1, 0, 0), (1, 1, 0)]
            data.faces = [(0, 1, 2)]
    return line


def add_object_data(doc, line, circle_owner_handle=None):
    """Dictionaries, XRECORDs, an extension dictionary, reactors, app data."""
    dados = doc.rootdict.add_new_dict("ZR_DADOS")
    config = dados.add_xrecord("CONFIGURACAO")
    config.reset([(1, "Configuração padrão"), (70, 3), (40, 2.5), (10, (1, 2, 3)),
                  (90, 123456), (280, 1), (330, line.dxf.handle), (1, "fim  ")])
    subdict = dados.add_new_dict("NORMAS")
    subdict.add_xrecord("NBR").reset([(1, "NBR 5410"), (71, 2)])
    subdict.add_xrecord("IEC").reset([(1, "IEC 60204"), (71, 1)])
    placeholder = dados.add_xrecord("OBJETO_PROPRIO")  # becomes a custom object
    placeholder.set_reactors([dados.dxf.handle])
    doc.objects.add_dictionary_var(owner=dados.dxf.handle, value="valor da variável")

    xdict = line.new_extension_dict()
    xdict.add_xrecord("ZR_NOTA").reset([(1, "nota na linha"), (40, 0.5)])
    line.set_app_data("ZR_APLICACAO", [(1, "dado de aplicação"), (70, 9)])
    line.set_reactors([dados.dxf.handle])
    return placeholder.dxf.handle


def add_paper_space(doc, line_handle):
    """Entities in the default paper space layout and in a second layout."""
    layout1 = doc.layout("Layout1")
    layout1.add_text("Folha 1", dxfattribs={"insert": (1, 1)})
    layout1.add_line((0, 0), (10, 0))
    insert = layout1.add_blockref("CAIXA", (5, 5))
    insert.add_auto_attribs({"REF": "FOLHA-1"})
    insert.set_xdata("ZR_TESTE", [(1000, "na folha"), (1005, line_handle)])
    second = doc.layouts.new("Folha 2")
    second.add_circle((3, 3), 1)
    second.add_mtext("Texto da folha 2", dxfattribs={"insert": (0, 5)})
    second.add_viewport(center=(5, 5), size=(8, 6), view_center_point=(0, 0), view_height=20)
    doc.layouts.new("Folha vazia")


def add_group_and_header(doc, entities):
    group = doc.groups.new("GRUPO_CABOS", description="Cabos do painel")
    group.extend(entities)
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    doc.header["$USERI1"] = 42
    doc.header["$USERR1"] = 0.1
    doc.header.custom_vars.append("Projeto", "Painel elétrico")
    doc.header.custom_vars.append("Revisão", "B")


def add_pin_symbols(doc, layout, connectors, pins, start=0):
    """The project's pin symbols: "PIN-..." blocks with ATTDEF ID_PINO,
    INSERTs with one ATTRIB ID_PINO and ZR_PINO data (name, code, S/N)."""
    register_apps(doc, ["ZR_PINO"])
    names = ["PIN-A", "PIN-B", "PIN-C"]
    for name in names:
        if name not in doc.blocks:
            block = doc.blocks.new(name)
            block.add_circle((0, 0), 0.5)
            block.add_attdef("ID_PINO", (0.6, 0), dxfattribs={"height": 0.3})
    inserts = []
    for c in range(connectors):
        for p in range(pins):
            ref = layout.add_blockref(names[(c + p) % len(names)], (c * 20 + p * 1.5, start * 10))
            ref.add_auto_attribs({"ID_PINO": str(p + 1)})
            ref.set_xdata("ZR_PINO", [(1000, f"X{c + start + 1}"),
                                      (1000, f"CON-{c + start:03d}"),
                                      (1000, "S" if c % 2 == 0 else "N")])
            inserts.append(ref)
    return inserts
