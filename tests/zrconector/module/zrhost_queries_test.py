#!/usr/bin/python3
"""The three drawing queries end to end: zrhost loads the module, the suite's
script calls them on the example drawing with the example catalogue, saves the
drawing, and ezdxf sees the connector dictionary in the saved file.

    zrhost_queries_test.py ZRHOST MODULE EXAMPLES_DIR WORKDIR"""

import os
import sys

import ezdxf

import zrhost_session

SCRIPT = r'''
(define (check what ok) (unless ok (error "check failed:" what)))
(check "no entity name before the refresh" (null? (GetEnameConector "X1")))
(AtualizarDicConectores)
(define lines (BuscaListaConectores))
(check "twelve connectors listed" (= (length lines) 12))
(check "sorted by name" (string=? (car (string-split (car lines) #\page)) "X1"))
(check "four fields" (= (length (string-split (car lines) #\page)) 4))
(check "X2 keeps its flag" (member "N" (string-split (list-ref lines 4) #\page)))
(define x1 (GetEnameConector "X1"))
(check "entity name of X1" (not (null? x1)))
(check "names are exact" (null? (GetEnameConector "x1")))
(check "a number is no name" (null? (GetEnameConector 12)))
(drawing-save-as "@OUT@")
(display "queries: ok")
(newline)
'''


def main():
    zrhost, module, examples, work = sys.argv[1:5]
    drawing = zrhost_session.prepare(examples, work, "zrqueries")
    out = os.path.join(work, "saved.dxf")
    script = zrhost_session.write_script(work, "queries.scm", SCRIPT.replace("@OUT@", out))
    run = zrhost_session.run_zrhost(zrhost, module, examples, work, "zrqueries", script, drawing)
    if not zrhost_session.ended_with(run, "queries: ok"):
        return 1

    doc = ezdxf.readfile(out)
    root = doc.rootdict
    if "TRV_ZR_DIC_CONECTORES" not in root:
        print("ezdxf does not see TRV_ZR_DIC_CONECTORES")
        return 1
    connectors = root["TRV_ZR_DIC_CONECTORES"]
    keys = sorted(connectors.keys())
    expected = sorted(["X1", "X2", "X3", "X4", "X5", "X6", "X7", "X8", "X9", "X10", "X11", "X12"])
    if keys != expected or any(connectors[k].dxftype() != "DICTIONARY" for k in keys):
        print(f"connector dictionary holds {keys}")
        return 1
    print("ezdxf sees the connector dictionary with", len(keys), "entries")
    return 0


if __name__ == "__main__":
    sys.exit(main())
