#!/usr/bin/python3
"""The two selection functions end to end: zrhost loads the module and the
suite's script, whose example procedures drive the selection dialog through
queued actions on the example drawing with the example catalogue; a call
with nothing queued for its dialog fails instead of waiting.

    zrhost_selection_test.py ZRHOST MODULE EXAMPLES_DIR WORKDIR"""

import os
import sys

import zrhost_session

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
    drawing = zrhost_session.prepare(examples, work, "zrselection")
    script = zrhost_session.write_script(work, "selection.scm", SCRIPT.replace("@SNAP@", os.path.join(work, "screen.txt")))
    run = zrhost_session.run_zrhost(zrhost, module, examples, work, "zrselection", script, drawing,
                                    ZRHOST_DIALOG_WAIT_MS="20000")
    return 0 if zrhost_session.ended_with(run, "selection: ok") else 1


if __name__ == "__main__":
    sys.exit(main())
