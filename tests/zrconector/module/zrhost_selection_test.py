#!/usr/bin/python3
"""The two selection functions end to end: zrhost loads the module and the
suite's script, whose example procedures drive the selection dialog through
queued actions on the example drawing with the example catalogue; a call
with nothing queued for its dialog fails instead of waiting.

    zrhost_selection_test.py ZRHOST MODULE EXAMPLES_DIR WORKDIR"""

import os
import shutil
import subprocess
import sys

SCRIPT = r'''
(define (check what ok) (unless ok (error "check failed:" what)))
(define missing (exemplo-pino-faltante))
(check "a missing pin of X11" (equal? missing '("X11" "AM04M" "3" "AM04M")))
(define new (exemplo-novo-conector))
(check "a new instance with the proposed name" (equal? new '("XC1" "CI04M" "2" "S")))
(define mate (exemplo-pino-conectado))
(check "the mating pin of X4" (equal? mate '("X4" "CM03M" "B" "M20")))
(dialog-snapshot "@SNAP@")
(dialog-tab 50121 1)
(dialog-close)
(check "a closed dialog gives nil" (null? (SelecaoConector "M12")))
(check "no string, no result" (unspecified? (SelecaoConector 12)))
(check "nothing left queued" (null? (dialog-pending)))
(display "selection: ok")
(newline)
'''


def main():
    zrhost, module, examples, work = sys.argv[1:5]
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    subprocess.run(["bash", os.path.join(examples, "catalogue", "build-sqlite.sh"), os.path.join(work, "catalogo.db")],
                   check=True, capture_output=True)
    with open(os.path.join(work, "zrselection.ini"), "w") as f:
        f.write(f"[database]\ndata_folder = {work}/\ntype = MDB\nname = catalogo.db\n")
    drawing = os.path.join(work, "drawing.dxf")
    shutil.copy(os.path.join(examples, "drawing.dxf"), drawing)
    script = os.path.join(work, "selection.scm")
    with open(script, "w") as f:
        f.write(SCRIPT.replace("@SNAP@", os.path.join(work, "screen.txt")))
    env = dict(os.environ, ZR_SETTINGS_DIR=work, ZRHOST_DIALOG_WAIT_MS="20000")
    run = subprocess.run([zrhost, "--program", "zrselection", "--module", module,
                          "--load", os.path.join(examples, "suite.scm"), "--script", script, drawing],
                         capture_output=True, text=True, env=env, stdin=subprocess.DEVNULL, timeout=300)
    print(run.stdout)
    print(run.stderr, file=sys.stderr)
    if run.returncode != 0 or "selection: ok" not in run.stdout:
        print(f"zrhost failed with {run.returncode}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
