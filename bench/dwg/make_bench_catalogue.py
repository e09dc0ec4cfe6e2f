#!/usr/bin/python3
"""Writes the file catalogue (SQLite) that the benchmark drawings are checked
against: the example catalogue's tables, and for every code "CON-00001" to
"CON-01000" of make_bench_drawing.py the pins 1 to 20 (PINO_PINO "P1".."P20"),
each code mating with the next (CON-01000 with CON-00001), and indexes on the
columns the pin check looks up (a catalogue of this size has them; without,
each of the 2,000 statements reads every row).

    make_bench_catalogue.py OUT.db
"""

import os
import sqlite3
import sys

CODES = 1000
PINS = 20


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    out = argv[1]
    schema = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples", "catalogue",
                          "catalogue.sql")
    tmp = out + ".tmp"
    if os.path.exists(tmp):
        os.remove(tmp)
    db = sqlite3.connect(tmp)
    db.executescript(open(schema, encoding="utf-8").read())
    codes = [f"CON-{n:05d}" for n in range(1, CODES + 1)]
    db.executemany("INSERT INTO BDPINOS (PINO_KEY, PINO_CONECTOR, PINO_PINO, PINO_ID) VALUES (?, ?, ?, ?)",
                   [(f"B{c}{p}", code, f"P{p}", str(p)) for c, code in enumerate(codes) for p in range(1, PINS + 1)])
    db.executemany("INSERT INTO BDCONTRAPECAS (CONTRA_KEY, CONTRA_CON_A, CONTRA_CON_B) VALUES (?, ?, ?)",
                   [(f"M{i}", codes[i], codes[(i + 1) % CODES]) for i in range(CODES)])
    db.execute("CREATE INDEX BDPINOS_CONECTOR ON BDPINOS (PINO_CONECTOR)")
    db.execute("CREATE INDEX BDCONTRAPECAS_A ON BDCONTRAPECAS (CONTRA_CON_A)")
    db.execute("CREATE INDEX BDCONTRAPECAS_B ON BDCONTRAPECAS (CONTRA_CON_B)")
    db.commit()
    db.close()
    os.replace(tmp, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
