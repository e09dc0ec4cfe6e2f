;; Asks for the name of a new connector of the component BOR001, whose
;; reference prefix is "X", answering the dialog as a person would: the suite
;; proposes the first "X" name that the drawing does not use, the name X1 is
;; typed and refused (it is placed, so OK stays disabled), the proposal is
;; chosen again from the list and accepted with Enter. The result is the name
;; and "S", the flag of a proposed name.
;;
;;   zrhost --load suite.scm --script new-connector.scm drawing.dxf
(define (ok-enabled? expected)
  (lambda (state)
    (unless (eq? (assq-ref state 'enabled) expected)
      (error "OK enabled should be" expected))))
(dialog-check 1 (ok-enabled? #t))
(dialog-type 126 "X1")
(dialog-check 1 (ok-enabled? #f))
(dialog-choose 126 1)
(dialog-check 1 (ok-enabled? #t))
(dialog-key "Enter")
(format #t "(NovoConector \"BOR001\") => ~s~%" (NovoConector "BOR001"))
;; The same dialog cancelled with Escape gives nil.
(dialog-key "Escape")
(format #t "(NovoConector \"BOR001\"), cancelled => ~s~%" (NovoConector "BOR001"))
