;; Pictures of the module's dialogs on the example drawing, for the README:
;; each dialog is shown as a person would see it, then closed without a
;; change. PICTURES names the folder (default docs/pictures).
;;
;;   zrhost --load suite.scm --script pictures.scm drawing.dxf
(define folder (or (getenv "PICTURES") "docs/pictures"))
(define (picture name) (dialog-picture (string-append folder "/" name)))

;; The new-connector dialog with the suite's proposal.
(picture "new-connector.png")
(dialog-key "Escape")
(NovoConector "BOR001")

;; The selection dialog: the missing pins of the placed connectors, then the
;; catalogue tree of the creation tab opened on a component.
(dialog-choose 50123 "X11/3")
(picture "selection-pins.png")
(dialog-key "Escape")
(SelecaoConector "M12")
(dialog-tab 50121 1)
(dialog-choose 50123 "Conectores/Circulares/Circulares industriais M12/Circular M12 4 vias macho (plugue)")
(dialog-choose 50122 1)
(picture "selection-catalogue.png")
(dialog-key "Escape")
(SelecaoConector "M16")

;; The connectors screen with a connector chosen, then a pin of it.
(dialog-choose 50102 "X6")
(picture "connectors-screen.png")
(dialog-choose 50101 "1")
(picture "connectors-screen-pin.png")
(dialog-key "Escape")
(zrConectores)
