;; The connectors screen (zrConectores) driven as a person would, on the
;; example drawing: the connector X2 is renamed to the suite's proposal for
;; its component (J1, the first free name of its reference prefix "J"), and
;; pin 1 of X6, whose other five pins are not placed, becomes pin 4. Apply
;; writes each change, the title-bar close hands the changed pin symbols to
;; "atualizarMacros", and the drawing is saved.
;;
;;   zrhost --load suite.scm --script connectors-screen.scm drawing.dxf
;;
;; Control ids: 50102 the connector list, 50101 the pin list, 50111 the
;; property grid, 1020 the list editor the grid opens on a cell, 50117 the
;; summary, 50114 apply.

;; The screen's hand-over, kept to be printed after the call.
(define changed-symbols '())
(define (atualizarMacros . symbols)
  (set! changed-symbols (append changed-symbols symbols))
  '())

(define (expect what expected)
  (lambda (state)
    (unless (equal? (assq-ref state what) expected)
      (error "expected" what expected 'got (assq-ref state what)))))

(define snapshot (getenv "ZR_SCREEN_SNAPSHOT"))

;; X2: its name cell offers the current name and the proposal.
(dialog-choose 50102 "X2")
(dialog-cell 50111 0 1)
(dialog-check 1020 (expect 'items '("X2" "J1")))
(dialog-choose 1020 "J1")
(dialog-cell 50117 0 0)
(dialog-check 50114 (expect 'enabled #t))
(dialog-click 50114)
;; X6, pin 1: its identifier list holds its own and the pins not placed.
(dialog-choose 50102 "X6")
(dialog-choose 50101 "1")
(dialog-cell 50111 0 1)
(dialog-check 1020 (expect 'items '("1" "2" "3" "4" "5" "M12")))
(dialog-choose 1020 "4")
(dialog-cell 50117 0 0)
(dialog-click 50114)
(when snapshot (dialog-snapshot snapshot))
(dialog-close)
(zrConectores)
(format #t "atualizarMacros received ~a changed pin symbol(s):~{ ~a~}~%"
        (length changed-symbols) (map entity-name-handle changed-symbols))
(format #t "connectors now: ~s~%" (drawing-connector-names))
(drawing-save)
