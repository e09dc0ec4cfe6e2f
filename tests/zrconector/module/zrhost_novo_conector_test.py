#!/usr/bin/python3
"""NovoConector end to end: zrhost loads the module and the suite's script on
the example drawing and catalogue, and the new-connector dialog is answered
by queued actions as a person would answer it.

    zrhost_novo_conector_test.py ZRHOST MODULE EXAMPLES_DIR WORKDIR"""

import os
import sys

import zrhost_session

SCRIPT = r'''
(define (check what expected got)
  (unless (equal? expected got) (error "check failed:" what 'expected expected 'got got)))
(define (ok-enabled? expected)
  (lambda (state)
    (unless (eq? (assq-ref state 'enabled) expected) (error "OK enabled should be" expected))))
(define (combo-items expected)
  (lambda (state) (check "the combo's entries" expected (assq-ref state 'items))))

;; BOR001 has the reference prefix "X" in the standard "IEC"; the drawing
;; places X1 to X12 except X8, so the suite proposes X8.
(dialog-check 126 (lambda (state) (check "the proposal" "X8" (assq-ref state 'text))))
(dialog-check 1 (ok-enabled? #t))
(dialog-snapshot "@SNAPSHOT@")
(dialog-key "Enter")
(check "the proposal accepted" '("X8" "S") (NovoConector "BOR001"))

;; A placed name is refused, in other letters it is free; the list holds
;; what was typed and the proposal.
(dialog-type 126 "X1")
(dialog-check 1 (ok-enabled? #f))
(dialog-check 126 (combo-items '("X1" "X8")))
(dialog-type 126 "x1")
(dialog-check 1 (ok-enabled? #t))
(dialog-key "Enter")
(check "another free name" '("x1" "N") (NovoConector "BOR001"))

;; X12 is placed on the layer "0", which the names in use leave out; X10 is
;; placed. Then the proposal is chosen again from the list.
(dialog-type 126 "X12")
(dialog-check 1 (ok-enabled? #t))
(dialog-type 126 "X10")
(dialog-check 1 (ok-enabled? #f))
(dialog-choose 126 1)
(dialog-check 1 (ok-enabled? #t))
(dialog-key "Enter")
(check "the proposal chosen from the list" '("X8" "S") (NovoConector "BOR001"))

;; A given reference is proposed as it is; cancel gives nil.
(dialog-check 126 (lambda (state) (check "the given reference" "J40" (assq-ref state 'text))))
(dialog-key "Escape")
(check "cancelled" '() (NovoConector "BOR001" "J40"))
(dialog-close)
(check "closed by the title bar" '() (NovoConector))
(check "every action used" '() (dialog-pending))
(display "novo conector: ok")
(newline)
'''


def main():
    zrhost, module, examples, work = sys.argv[1:5]
    drawing = zrhost_session.prepare(examples, work, "zrnovo")
    snapshot = os.path.join(work, "dialog.txt")
    script = zrhost_session.write_script(work, "novo.scm", SCRIPT.replace("@SNAPSHOT@", snapshot))
    run = zrhost_session.run_zrhost(zrhost, module, examples, work, "zrnovo", script, drawing)
    if not zrhost_session.ended_with(run, "novo conector: ok"):
        return 1
    with open(snapshot, encoding="utf-8") as f:
        screen = f.read()
    print(screen)
    for text in ("Novo conector", "Nome do novo conector:", "X8", "OK", "Cancelar"):
        if text not in screen:
            print(f"the dialog's snapshot lacks {text!r}")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
