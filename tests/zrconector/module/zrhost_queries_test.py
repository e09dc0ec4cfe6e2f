#!/usr/bin/python3
"""The three drawing queries end to end: zrhost loads the module, the suite's
script calls them on the example drawing with the example catalogue, saves the
drawing, and ezdxf sees the connector dictionary in the saved file.

    zrhost_queries_test.py ZRHOST MODULE EXAMPLES_DIR WORKDIR"""

import os
import shutil
import subprocess
import sys

import ezdxf

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
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    catalogue = os.path.join(work, "catalogo.db")
    subprocess.run(["bash", os.path.join(examples, "catalogue", "build-sqlite.sh"), catalogue], check=True,
                   capture_output=True)
    with open(os.path.join(work, "zrqueries.ini"), "w") as f:
        f.write(f"[database]\ndata_folder = {work}/\ntype = MDB\nname = catalogo.db\n")
    drawing = os.path.join(work, "drawing.dxf")
    shutil.copy(os.path.join(examples, "drawing.dxf"), drawing)
    out = os.path.join(work, "saved.dxf")
    script = os.path.join(work, "queries.scm")
    with open(script, "w") as f:
        f.write(SCRIPT.replace("@OUT@", out))
    env = dict(os.environ, ZR_SETTINGS_DIR=work)
    run = subprocess.run([zrhost, "--program", "zrqueries", "--module", module,
                          "--load", os.path.join(examples, "suite.scm"), "--script", script, drawing],
                         capture_output=True, text=True, env=env, stdin=subprocess.DEVNULL, timeout=300)
    print(run.stdout)
    print(run.stderr, file=sys.stderr)
    if run.returncode != 0 or "queries: ok" not in run.stdout:
        print(f"zrhost failed with {run.returncode}")
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
