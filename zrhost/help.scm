;;; (zrhost-help): a short index of topics; (zrhost-help 'TOPIC) one topic
;;; (what a person at the console can call, the dialogs' keys, the settings),
;;; wrapped to the terminal's width and paged when it is long. The module's seven functions are described here, since
;;; the module registers bare names; the host's procedures carry their own
;;; documentation strings.

(define-module (zrhost help)
  #:use-module (zrhost host)
  #:use-module (srfi srfi-1)
  #:use-module (ice-9 popen)
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
    ("F2, Space, Enter" "in the property grid, open the selected row's value editor (the first row's when none is selected yet); Alt+Down and F4 open it with its list dropped")
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

;;; Topics that are not the name of a function: each a title and its text.
(define topic-help
  '(("dialogs"
     "Dialogs on the terminal"
     "The module's dialogs, its message boxes, the colour picker and the file chooser show in the terminal, centred, and are placed again when the terminal is resized. Tab and Shift+Tab move between controls, Enter presses the default button, Escape cancels, Alt and a caption's underlined letter chooses a control; arrows, Space, typing and the editing keys work in the focused control; the mouse clicks, double-clicks, turns the wheel over a list and drags a resizable frame. A dialog larger than the terminal shows through a view that keeps the focused control in sight, its caption on the first row and arrows on the edges where parts are out of view; Alt+Page Up and Alt+Page Down, or the wheel over the dialog's face, scroll it. Without colour (NO_COLOR set, or a monochrome terminal) the state lights keep their shapes: a full disc complete, an empty circle missing, ! an error, ? unknown; the focus shows in reverse video. Message boxes answer in the language of LC_ALL, LC_MESSAGES or LANG (Portuguese or English). Ctrl-C cancels the dialogs open and interrupts the call.")
    ("settings"
     "Settings and catalogue"
     "The module reads its database settings from the settings file of the program (the system variable PROGRAM, set by --program; zrhost by default): PROGRAM.ini, looked for in the folder given with --settings, then in the folders of ZR_SETTINGS_DIR (separated by ':'), then in ~/.config/zrconector (or $XDG_CONFIG_HOME/zrconector), then in the installed examples. Its [database] section names the catalogue: type MDB with data_folder and name for a file, or a server. When none is found, the module's box says "Unable to load the settings file." and zrhost names on standard error the file and the folders it looked in. From the build tree, examples/catalogue holds an example: zrhost --settings examples/catalogue --load examples/suite.scm examples/drawing.dxf.")))

(define (print-topic entry width)
  (print-wrapped (list-ref entry 1) width "" "")
  (print-wrapped (list-ref entry 2) width "  " "  "))

;;; Long text goes through a pager when standard output is a terminal that
;;; it does not fit: $PAGER, else less (or more); without either, as it is.
(define (pager-command)
  (let ((pager (getenv "PAGER")))
    (cond ((and pager (not (string-null? pager))) pager)
          ((search-path (parse-path (or (getenv "PATH") "")) "less") "less -X")
          ((search-path (parse-path (or (getenv "PATH") "")) "more") "more")
          (else #f))))

(define (show-paged text)
  (let ((rows (terminal-rows))
        (lines (length (filter (lambda (c) (char=? c #\newline)) (string->list text))))
        (pager (pager-command)))
    (if (and (> rows 0) (>= lines (- rows 1)) pager)
        (let ((port (open-output-pipe pager)))
          (display text port)
          (close-pipe port))
        (display text))))

(define (zrhost-help . topic)
  "(zrhost-help [TOPIC]): a short index of the help; with a TOPIC (symbol or string), that topic: all (everything), module (the module's functions), host (the host's procedures), dialogs (keys and mouse in dialogs on the terminal), settings (where the settings and catalogue are found), or the name of one function or procedure. Long text goes through a pager ($PAGER, less) when the console is a terminal."
  (let ((width (help-width)))
    (if (null? topic)
        (help-index width)
        (let ((name (let ((t (car topic))) (if (symbol? t) (symbol->string t) t))))
          (show-paged (with-output-to-string (lambda () (help-topic name width))))))))

(define (help-index width)
  (print-wrapped "zrhost help. (zrhost-help 'TOPIC) shows a topic:" width "" "")
  (for-each (lambda (line) (print-wrapped (cadr line) width (string-append "  " (car line)) "              "))
            '(("all         " "everything below, one after the other")
              ("module      " "the module's seven functions, with their arguments and results")
              ("host        " "the host's procedures (drawings, dialogs, pictures, the process)")
              ("dialogs     " "keys and mouse in dialogs on the terminal")
              ("keys        " "each key of the dialogs and what it does")
              ("settings    " "where the settings and the catalogue are found (ZR_SETTINGS_DIR)")
              ("NAME        " "one function or procedure, as (zrhost-help 'NovoConector)")))
  (print-wrapped (string-append "The module's functions: " (string-join (map car module-function-help) " ")) width
                 "" "  ")
  (print-wrapped (string-append "Functions of the active drawing: "
                                (let ((names (false-if-exception (module-functions))))
                                  (if (and names (pair? names)) (string-join names " ") "none")))
                 width "" "  "))

(define (help-topic name width)
  (cond ((string=? name "all") (help-all width))
        ((string=? name "module") (help-module width))
        ((string=? name "host") (help-host width))
        ((find (lambda (e) (string=? (car e) name)) topic-help) => (lambda (entry) (print-topic entry width)))
        (else (help-one name width))))

(define (help-module width)
  (print-wrapped "The module's functions (each runs in the active drawing):" width "" "")
  (newline)
  (for-each (lambda (entry) (print-module-function entry width) (newline)) module-function-help))

(define (help-host width)
  (print-wrapped "The host's procedures:" width "" "")
  (newline)
  (for-each (lambda (name) (print-host-procedure name width)) (host-procedure-names))
  (print-wrapped "(zrhost-help 'keys) lists the keys of the dialogs." width "" ""))

(define (help-all width)
  (help-module width)
  (help-host width)
  (newline)
  (for-each (lambda (entry) (print-topic entry width) (newline)) topic-help)
  (print-wrapped (string-append "Functions of the active drawing: "
                                (let ((names (false-if-exception (module-functions))))
                                  (if (and names (pair? names)) (string-join names " ") "none")))
                 width "" "  ")
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
