#!/usr/bin/env python3
"""Writes catalogue.sql, the example connector catalogue, to standard output.

The catalogue is deterministic: running this again gives the same text.
The SQL uses only what SQLite and PostgreSQL both accept (plain CREATE TABLE
with char/varchar columns, multi-row INSERT, NULL), so one script loads
into either.

    python3 generate_catalogue.py > catalogue.sql
"""

STANDARD = "IEC"          # the standard in use in the example settings
OTHER_STANDARD = "ANSI"   # a second standard, present for some connectors

# Menu folders: (key, parent key, description). "0" is the top level.
FOLDERS = [
    ("1", "0", "Conectores"),
    ("2", "0", "Componentes auxiliares"),
    ("10", "1", "Circulares"),
    ("11", "1", "Retangulares"),
    ("12", "1", "Automotivos"),
    ("100", "10", "Circulares militares"),
    ("101", "10", "Circulares industriais M12"),
    ("110", "11", "Sub-D"),
    ("111", "11", "Barra de pinos"),
    ("120", "12", "Chicote de motor"),
    ("121", "12", "Painel e carroceria"),
    ("20", "2", "Relés"),
    ("21", "2", "Bornes"),
]

# Connector families: (folder, code prefix, description stem, contact code,
# identifier style, pin counts). Each count gives a plug (male contacts) and
# a receptacle (female contacts) that mate with each other.
FAMILIES = [
    ("100", "CM", "Circular militar", "20", "letters", [2, 3, 6, 10, 19, 32]),
    ("101", "CI", "Circular M12", "16", "digits", [3, 4, 5, 8]),
    ("110", "DS", "Sub-D", "DS", "digits", [9, 15, 25, 37]),
    ("111", "BP", "Barra de pinos", "BP", "digits", [2, 10, 20, 36]),
    ("120", "AM", "Motor", "12", "digits", [2, 4]),
    ("121", "AP", "Painel", "12", "digits", [6, 12]),
]

# Components that are not connectors: their drawings do not start with "CON-".
OTHERS = [
    ("REL001", "20", "Relé auxiliar 24 V, 2 contatos reversíveis", "REL-2C", "K"),
    ("REL002", "20", "Relé de estado sólido 10 A", "REL-SSR", "K"),
    ("BOR001", "21", "Borne de passagem 2,5 mm²", "BOR-2P5", "X"),
    ("BOR002", "21", "Borne de aterramento 4 mm²", "XBOR-CON-T", "X"),
]

# Parts filed among the connectors that are not connectors themselves: their
# drawings do not start with "CON-" (the catalogue tree leaves them out),
# though they carry the same contacts: (key, folder, description, drawing,
# pin code, identifiers).
ACCESSORIES = [
    ("CI04A", "101", "Adaptador M12 4 vias para painel", "ADP-CI04A", "M16", ["1", "2", "3", "4"]),
    ("DS09T", "110", "Terminal de teste Sub-D 9 vias", "TST-DS09-CON", "FDS", ["1", "2", "3", "4", "5"]),
    ("BP02C", "111", "Capa de barra de pinos 2 vias", "CAP-BP02", "MBP", ["1", "2"]),
]

LETTERS = "ABCDEFGHJKLMNPRSTUVWXYZ"  # military inserts skip I, O and Q


def identifier(style, n):
    if style == "letters":
        if n < len(LETTERS):
            return LETTERS[n]
        return LETTERS[n - len(LETTERS)].lower()
    return str(n + 1)


def quote(value):
    if value is None:
        return "NULL"
    return "'" + value.replace("'", "''") + "'"


def insert(table, columns, rows, per_statement=25):
    out = []
    for start in range(0, len(rows), per_statement):
        chunk = rows[start:start + per_statement]
        values = ",\n  ".join("(" + ", ".join(quote(v) for v in row) + ")" for row in chunk)
        out.append(f"INSERT INTO {table} ({', '.join(columns)}) VALUES\n  {values};")
    return "\n".join(out)


def build():
    menus = [(parent, key, descr) for key, parent, descr in FOLDERS]
    components = []   # BDZR rows
    pins = []         # BDPINOS rows
    mates = []        # BDCONTRAPECAS rows
    connectors = []   # (code, description, folder)

    def add_pin(code, contact, ident):
        pins.append((f"P{len(pins) + 1:05d}", code, contact, ident))

    family_index = 0
    for folder, prefix, stem, contact, style, counts in FAMILIES:
        for count in counts:
            family_index += 1
            pair = []
            for gender, word in (("M", "macho (plugue)"), ("F", "fêmea (receptáculo)")):
                code = f"{prefix}{count:02d}{gender}"
                descr = f"{stem} {count} vias {word}"
                connectors.append((code, descr, folder))
                menus.append((folder, code, descr))
                pair.append(code)
                pin_code = f"{gender}{contact}"
                for n in range(count):
                    ident = identifier(style, n)
                    # Unassigned cavities: the last pin of some connectors has
                    # no identifier yet.
                    if n == count - 1 and count > 3 and family_index % 3 == 0:
                        ident = None
                    add_pin(code, pin_code, ident)
                # Shield and ground contacts repeat an identifier.
                if count >= 10:
                    add_pin(code, pin_code, identifier(style, 0))
                if prefix == "BP" and count >= 20:
                    add_pin(code, pin_code, "GND")
                    add_pin(code, pin_code, "GND")
            mates.append((pair[0], pair[1]))
            # Some pairs are recorded from both sides, as catalogues often are.
            if family_index % 2 == 0:
                mates.append((pair[1], pair[0]))
            # Some pairs are recorded only from the receptacle's side.
            if family_index % 5 == 0:
                mates[-1] = (pair[1], pair[0])

    # Cross-family mates: an M12 receptacle also takes the adapter plug, and
    # two panel connectors take the engine harness plug.
    mates.append(("CI04F", "AM04M"))
    mates.append(("AP06F", "AM02M"))

    # A connector whose values were imported with blanks around them.
    pins.append((f"P{len(pins) + 1:05d}", "AM02M", "M12", "  A1 "))

    for i, (code, descr, folder) in enumerate(connectors):
        tag = "XC" if code.startswith(("CM", "CI")) else "J"
        dwg = f"CON-{code}"
        if i == 5:
            dwg = f"Con-{code}"   # drawing names are not always upper case
        components.append((code, STANDARD, tag, None, dwg, f"{dwg}-2D", f"{dwg}-3D",
                           "UN", "10", "N", "S", "S", "N", None))
        if i % 4 == 0:
            components.append((code, OTHER_STANDARD, tag, None, f"CON-{code}-A", None, None,
                               "UN", "10", "N", "S", "S", "N", None))
    # A component entered twice for the same standard: readers take the first row.
    components.append(("AP12F", STANDARD, "J", "OLD1", "CON-AP12F-ALT", None, None,
                       "UN", "10", "N", "S", "S", "N", None))

    for code, folder, descr, dwg, tag in OTHERS:
        menus.append((folder, code, descr))
        components.append((code, STANDARD, tag, None, dwg, None, None,
                           "UN", "12", "S", "S", "N", "N", "EQ1"))
        if code.startswith("REL"):
            for n, ident in enumerate(["A1", "A2", "11", "12", "14"]):
                add_pin(code, "RL", ident)

    # Accessories come last, so that the pin keys above never move.
    for code, folder, descr, dwg, pin_code, idents in ACCESSORIES:
        menus.append((folder, code, descr))
        components.append((code, STANDARD, "A", None, dwg, None, None,
                           "UN", "10", "N", "S", "S", "N", None))
        for ident in idents:
            add_pin(code, pin_code, ident)

    return menus, components, pins, mates


SCHEMA = """\
CREATE TABLE BDMENUS (
  MENU_NIVEL varchar(6),
  MENU_KEY varchar(6),
  MENU_DESCR varchar(80)
);
CREATE TABLE BDZR (
  ZR_KEY varchar(6),
  ZR_KEY_NOR varchar(6),
  ZR_KEY_TAG varchar(10),
  ZR_KEY_OLD varchar(6),
  ZR_DWG varchar(40),
  ZR_DWG_2D varchar(40),
  ZR_DWG_3D varchar(40),
  ZR_DWG_UN char(4),
  ZR_WIDTH char(6),
  ZR_EXPLODE char(1),
  ZR_LISTA char(1),
  ZR_CONSIST char(1),
  ZR_ROTA_AT char(1),
  ZR_EQUIPO varchar(6)
);
CREATE TABLE BDPINOS (
  PINO_KEY varchar(6),
  PINO_CONECTOR varchar(6),
  PINO_PINO varchar(6),
  PINO_ID varchar(100)
);
CREATE TABLE BDCONTRAPECAS (
  CONTRA_KEY varchar(6),
  CONTRA_CON_A varchar(6),
  CONTRA_CON_B varchar(6)
);
-- Tables of the suite that later versions extend (new columns and tables
-- are added by the module's schema upgrade, so they are absent here).
CREATE TABLE BDVINCL (
  VL_KEY varchar(6),
  VL_COMP varchar(6),
  VL_DESCR varchar(80)
);
CREATE TABLE BDGP (
  GP_KEY varchar(6),
  GP_DESCR varchar(80)
);
CREATE TABLE BDWIRE (
  WIRE_KEY varchar(6),
  WIRE_DESCR varchar(80)
);
"""


def main():
    menus, components, pins, mates = build()
    print("-- Example connector catalogue, written by generate_catalogue.py.")
    print("-- Loads into SQLite (sqlite3 FILE < catalogue.sql) and PostgreSQL (psql -f).")
    print(f"-- {len(components)} component rows, {len(pins)} pins, {len(mates)} mating pairs.")
    print("BEGIN;")
    print(SCHEMA)
    print(insert("BDMENUS", ["MENU_NIVEL", "MENU_KEY", "MENU_DESCR"], menus))
    print(insert("BDZR", ["ZR_KEY", "ZR_KEY_NOR", "ZR_KEY_TAG", "ZR_KEY_OLD", "ZR_DWG",
                          "ZR_DWG_2D", "ZR_DWG_3D", "ZR_DWG_UN", "ZR_WIDTH", "ZR_EXPLODE",
                          "ZR_LISTA", "ZR_CONSIST", "ZR_ROTA_AT", "ZR_EQUIPO"], components))
    print(insert("BDPINOS", ["PINO_KEY", "PINO_CONECTOR", "PINO_PINO", "PINO_ID"], pins))
    contra = [(f"K{i + 1:05d}", a, b) for i, (a, b) in enumerate(mates)]
    print(insert("BDCONTRAPECAS", ["CONTRA_KEY", "CONTRA_CON_A", "CONTRA_CON_B"], contra))
    print(insert("BDGP", ["GP_KEY", "GP_DESCR"], [("1", "Geral"), ("2", "Comando")]))
    print(insert("BDWIRE", ["WIRE_KEY", "WIRE_DESCR"],
                 [("W1", "Fio 0,5 mm²"), ("W2", "Fio 1,0 mm²"), ("W3", "Fio 2,5 mm²")]))
    print("COMMIT;")


if __name__ == "__main__":
    main()
