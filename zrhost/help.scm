;;; (zrhost-help): what a person at the console can call, wrapped to the
;;; terminal's width. The module's seven functions are described here, since
;;; the module registers bare names; the host's procedures carry their own
;;; documentation strings.

(define-module (zrhost help)
  #:use-module (zrhost host)
  #:use-module (srfi srfi-1)
  #:export (zrhost-help wrap-paragraph))

;;; Each: name, call, what it does, its result.
(define module-function-help
  '(("zrConectores"
     "(zrConectores)"
     "Opens the connectors screen of the active drawing: every connector and its pins with a state light (green in order, red with a problem, grey a catalogue pin not yet placed), where connectors are renamed and the attributes and identifier of a placed pin are edited. Arguments are not read. Closing the screen with its close command hands the changed pin symbols to the script function atualizarMacros."
     "nothing (the unspecified value), also when the screen is cancelled.")
    ("SelecaoConector"
     "(SelecaoConector PIN-CODE [CONNECTOR-CODE])"
     "The connector selection dialog for a pin of catalogue code PIN-CODE (PINO_PINO): its first tab offers the pins still missing from connectors already in the drawing, its second a new connector from the catalogue tree with a proposed name. With CONNECTOR-CODE, only the pins and connectors that mate with that connector are offered."
     "(NAME CODE PIN-ID FLAG): the connector's name and code, the pin's identifier, and FLAG \"S\" or \"N\" (the name was proposed automatically) for a new connector or the connector code again for one of the drawing; '() when cancelled; the unspecified value when PIN-CODE is missing or not a string.")
    ("PerguntaInserirPinoConectado"
     "(PerguntaInserirPinoConectado PIN-CODE CONNECTOR-CODE)"
     "Asks (Yes/No) whether the pin is to be placed connected; on Yes, opens the connector selection dialog over the pins that mate with CONNECTOR-CODE (a notice when there are none)."
     "(NAME CODE PIN-ID PIN-CODE) of the chosen pin; '() when either argument is empty, on No, when no pin mates, or when cancelled.")
    ("NovoConector"
     "(NovoConector [COMPONENT-KEY [REFERENCE]])"
     "The new-connector dialog: asks for the name of a connector about to be placed, proposing REFERENCE or else the next automatic name for the component's reference prefix (script function buscaProximaRelAuto, standard *NORMA_UTILIZADA*). A name already used in the drawing is refused."
     "(NAME FLAG): the name chosen and \"S\" when it is the proposed one, else \"N\"; '() when cancelled.")
    ("AtualizarDicConectores"
     "(AtualizarDicConectores)"
     "Refreshes the connector dictionary of the active drawing (TRV_ZR_DIC_CONECTORES): every connector name placed in the drawing gets a persistent entry. Arguments are not read."
     "nothing (the unspecified value).")
    ("GetEnameConector"
     "(GetEnameConector NAME)"
     "Looks NAME up in the connector dictionary of the active drawing (exact case), as the last refresh left it."
     "the entity name of the connector's entry; '() when the name is not there or is not a string.")
    ("BuscaListaConectores"
     "(BuscaListaConectores)"
     "Lists the connectors that are both in the dictionary and in the drawing, sorted by name. Arguments are not read."
     "a list of strings, one per connector, each four fields separated by a form feed (#\\page): name, \"S\" or \"N\" (automatic name), handle of the dictionary entry, connector code; '() when there is none.")))

;;; The keys of the dialogs in the terminal: what a person presses, what it does.
(define dialog-keys-help
  '(("Tab, Shift+Tab" "the next or previous control")
    ("Enter" "the focused button, else the dialog's default button (shown < >); in an open list, chooses the highlighted entry")
    ("Escape" "cancels the dialog; in an open list or a cell editor, only closes it")
    ("Alt+F4, a click on [x]" "the window close command at the right end of the title bar: the connectors screen hands its changes to atualizarMacros; other dialogs cancel")
    ("Alt+letter" "the control whose caption underlines the letter; in a message box the letter alone answers")
    ("Space" "presses the focused button")
    ("Up, Down, Home, End, Page Up, Page Down" "move in lists, trees and the property grid; in a combo box, the next entry")
    ("Right, Left, +, -" "open and close a tree's folder (the arrows alone only select)")
    ("Alt+Down, F4" "drops a combo box's list; Down and Up then move the highlight")
    ("F2, Space, Enter" "in the property grid, open the selected row's value editor; Alt+Down and F4 open it with its list dropped")
    ("Enter, Tab, Shift+Tab" "in a cell editor, keep the value and edit the next (previous) row; Escape keeps it and goes back to the grid")
    ("Ctrl-C" "cancels the dialogs open and interrupts the call")))

(define (print-dialog-keys width)
  (print-wrapped "Keys in the dialogs (a terminal):" width "" "")
  (for-each (lambda (entry) (print-wrapped (cadr entry) width (string-append "  " (car entry) ": ") "      "))
            dialog-keys-help))

;;; Words of text in lines of at most width characters (a longer word gets a
;;; line of its own); the first line starts with first, the others with
;;; indent.
(define (wrap-paragraph text width first indent)
  (let loop ((words (filter (lambda (w) (not (string-null? w))) (string-split text #\space)))
             (line first)
             (fresh #t)
             (lines '()))
    (cond ((null? words) (reverse (cons line lines)))
          (fresh (loop (cdr words) (string-append line (car words)) #f lines))
          ((<= (+ (string-length line) 1 (string-length (car words))) width)
           (loop (cdr words) (string-append line " " (car words)) #f lines))
          (else (loop words indent #t (cons line lines))))))

(define (print-wrapped text width first indent)
  (for-each (lambda (line) (display line) (newline)) (wrap-paragraph text width first indent)))

(define (print-module-function entry width)
  (let ((call (list-ref entry 1)) (what (list-ref entry 2)) (result (list-ref entry 3)))
    (print-wrapped call width "" "    ")
    (print-wrapped what width "  " "  ")
    (print-wrapped result width "  Result: " "    ")))

;; A host procedure's documentation starts with its call, "(NAME ...): ".
(define (print-host-procedure name width)
  (let ((doc (procedure-documentation (module-ref (resolve-interface '(zrhost host)) name))))
    (print-wrapped (or doc (symbol->string name)) width "" "    ")))

(define (host-procedure-names)
  (sort (module-map (lambda (name variable) name) (resolve-interface '(zrhost host)))
        (lambda (a b) (string<? (symbol->string a) (symbol->string b)))))

(define (help-width)
  ;; One column is left free: a line that fills the terminal exactly makes
  ;; some terminals wrap an empty line after it.
  (max 20 (- (terminal-columns) 1)))

(define (zrhost-help . topic)
  "(zrhost-help [NAME]): the module's functions and the host's procedures with their arguments and results, wrapped to the terminal; with a NAME (symbol or string), only that one."
  (let ((width (help-width)))
    (if (null? topic)
        (help-all width)
        (help-one (let ((name (car topic))) (if (symbol? name) (symbol->string name) name)) width))))

(define (help-all width)
  (print-wrapped "The module's functions (each runs in the active drawing):" width "" "")
  (newline)
  (for-each (lambda (entry) (print-module-function entry width) (newline)) module-function-help)
  (print-wrapped "The host's procedures:" width "" "")
  (newline)
  (for-each (lambda (name) (print-host-procedure name width)) (host-procedure-names))
  (newline)
  (print-wrapped (string-append "Functions of the active drawing: "
                                (let ((names (false-if-exception (module-functions))))
                                  (if (and names (pair? names)) (string-join names " ") "none")))
                 width "" "  ")
  (print-wrapped "(zrhost-help 'keys) lists the keys of the dialogs." width "" "")
  (print-wrapped "(zrhost-help 'NAME) shows one of them." width "" ""))

(define (help-one name width)
  (let ((entry (find (lambda (e) (string-ci=? (car e) name)) module-function-help))
        (host (find (lambda (n) (string=? (symbol->string n) name)) (host-procedure-names))))
    (cond ((string-ci=? name "keys") (print-dialog-keys width))
          (entry (print-module-function entry width))
          (host (print-host-procedure host width))
          (else
           (let ((variable (module-variable (resolve-module '(guile-user)) (string->symbol name))))
             (if (and variable (variable-bound? variable) (procedure? (variable-ref variable))
                      (procedure-documentation (variable-ref variable)))
                 (print-wrapped (procedure-documentation (variable-ref variable)) width "" "    ")
                 (print-wrapped (string-append "No help for " name ": (zrhost-help) lists what there is.")
                                width "" "")))))))
