;;; The suite's side of the scripts, as zrhost runs them: the variables and the
;;; functions that the module reads and calls through the host.
;;;
;;;   zrhost --load examples/suite.scm examples/drawing.dxf

(use-modules (srfi srfi-1))

;;; The standard in use (the catalogue's ZR_KEY_NOR) and the tag of the pin
;;; identifier attribute.
(define *NORMA_UTILIZADA* "IEC")
(define *ZRATTPINO* "ID_PINO")

(define decimal-digits (string->char-set "0123456789"))

;; The number that follows prefix in name when the rest of name is decimal
;; digits, else #f ("X12" with "X" gives 12; "XC1" with "X" gives #f).
(define (reference-number prefix name)
  (let ((n (string-length prefix)))
    (and (> (string-length name) n)
         (string=? (substring name 0 n) prefix)
         (string-every decimal-digits name n)
         (string->number (substring name n) 10))))

;; The next free automatic name for a reference prefix: the prefix and the
;; smallest number from 1 that no connector placed in the active drawing uses
;; ("X" gives "X3" when X1 and X2 are placed).
(define (buscaProximaRelAuto prefix)
  (let ((used (filter-map (lambda (name) (reference-number prefix name))
                          (drawing-connector-names))))
    (let next ((n 1))
      (if (memv n used)
          (next (+ n 1))
          (string-append prefix (number->string n))))))

;; The module's NovoConector asks for the name of a new connector in its
;; dialog, proposing (buscaProximaRelAuto prefix) for the component's prefix.
;; Without a person at a terminal, actions queued before the call answer the
;; dialog (new-connector.scm runs this on drawing.dxf, where BOR001 has the
;; prefix "X" and X8 is the first free "X" name):
;;
;;   (dialog-type 126 "X1")       ; placed already: OK stays disabled
;;   (dialog-choose 126 1)        ; the proposal, second entry of the list
;;   (dialog-key "Enter")
;;   (NovoConector "BOR001")      ; => ("X8" "S"); "N" for another name, '() when cancelled

;; The connectors screen hands over the pin symbols it changed: report them.
;; Returns their handles.
(define (atualizarMacros . symbols)
  (let ((handles (map (lambda (symbol)
                        (if (entity-name? symbol)
                            (or (entity-name-handle symbol) "?")
                            (call-with-output-string (lambda (port) (write symbol port)))))
                      symbols)))
    (display "atualizarMacros: ")
    (display (length symbols))
    (display " changed pin symbol(s)")
    (for-each (lambda (handle) (display " ") (display handle)) handles)
    (newline)
    handles))

;;; The two selection functions of the module driven as a person would use
;;; them: zrhost queues the actions for the dialogs that the call opens.
;;; Each returns the function's four strings, or '() when cancelled.
;;;
;;;   zrhost --load examples/suite.scm --eval '(display (exemplo-pino-faltante))' examples/drawing.dxf

;; X11 (AM04M) misses its pins 3 and 4 of code M12: pin 3 on the first tab.
(define (exemplo-pino-faltante)
  (dialog-choose 50123 "X11/3")
  (dialog-click 50124)
  (SelecaoConector "M12"))

;; A new instance from the catalogue on the tab "Criar": the 4-way M12 plug,
;; its suggested name and its pin 2.
(define (exemplo-novo-conector)
  (dialog-tab 50121 1)
  (dialog-choose 50123 "Conectores/Circulares/Circulares industriais M12/Circular M12 4 vias macho (plugue)")
  (dialog-choose 50122 1)
  (dialog-choose 50128 "2")
  (dialog-click 50124)
  (SelecaoConector "M16"))

;; The pin that mates with a CM03F pin: Yes to the question, then X4's
;; missing pin B (X4 is a CM03M, the mating part).
(define (exemplo-pino-conectado)
  (dialog-click 6)
  (dialog-choose 50123 "X4/B")
  (dialog-click 50124)
  (PerguntaInserirPinoConectado "A" "CM03F"))
