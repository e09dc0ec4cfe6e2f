;;; Run by end_to_end_test with the test module, --program zrtest-program and
;;; the drawings a.dxf (pin symbols of X1 and X2) and b.dxf (empty), so b.dxf
;;; is active. Every check that fails ends the script with an error.

(define (check what expected actual)
  (unless (equal? expected actual)
    (error (simple-format #f "~a: expected ~s, got ~s" what expected actual))))

;; The key of the error that thunk raises, or #f.
(define (error-key thunk)
  (catch #t (lambda () (thunk) #f) (lambda (key . args) key)))

(define test-functions
  '("zrtEcho" "zrtNil" "zrtVoid" "zrtFirstReference" "zrtAskHost" "zrtVariable" "zrtColour" "zrtProgram"
    "zrtNotifications" "zrtFail" "zrtVariableFromThread"))

;;; Drawings as opened, functions registered at initialisation.
(check "drawings" '("a.dxf" "b.dxf") (drawings))
(check "the last drawing is active" 1 (drawing-active))
(check "functions of the active drawing, in order" test-functions (list-head (module-functions) 11))
(check "functions of the other drawing" test-functions
       (begin (drawing-activate "a.dxf") (list-head (module-functions) 11)))
(check "module name" "zrhost test module" (loaded-module-name))
(check "drawings open at initialisation raise no notification" '() (zrtNotifications))

;;; Values to the module and back.
(check "strings" '("a" "çãé ✓" "") (zrtEcho "a" "çãé ✓" ""))
(check "integers" '(1 -1 32767 -32768 40000 -2147483648 2147483647)
       (zrtEcho 1 -1 32767 -32768 40000 -2147483648 2147483647))
(check "reals" '(1.5 -0.25 0.5) (zrtEcho 1.5 -0.25 1/2))
(check "booleans and nil" '(#t () ()) (zrtEcho #t #f '()))
(check "nested lists" '(("a" (1 ("b"))) "c") (zrtEcho '("a" (1 ("b"))) "c"))
(check "no arguments gives nil" '() (zrtEcho))
(check "nil" '() (zrtNil))
(check "void" #t (unspecified? (zrtVoid)))
(check "call by name" '("x") (call-module-function "zrtEcho" "x"))
(check "integer beyond 32 bits" 'wrong-type-arg (error-key (lambda () (zrtEcho 4294967296))))
(check "symbol" 'wrong-type-arg (error-key (lambda () (zrtEcho 'symbol))))
(check "improper list" 'wrong-type-arg (error-key (lambda () (zrtEcho '(1 . 2)))))
(check "NUL in a string" 'wrong-type-arg (error-key (lambda () (zrtEcho (string #\a #\nul)))))
(check "exception in the module" 'module-error (error-key zrtFail))
(check "the module still answers after it" '() (zrtNil))
(check "function the drawing lacks" 'unbound-variable
       (error-key (lambda () (call-module-function "zrtMissing"))))

;;; Entity names.
(define first-reference (zrtFirstReference))
(check "entity name" #t (entity-name? first-reference))
(check "handle and back" first-reference (handle->entity-name (entity-name-handle first-reference)))
(check "entity names round trip" (list first-reference "s") (zrtEcho first-reference "s"))
(check "no such handle" #f (handle->entity-name "FFFFFF"))
(check "no reference in the empty drawing" '() (begin (drawing-activate 1) (zrtFirstReference)))
(check "a forged entity name" 'wrong-type-arg
       (error-key (lambda () (zrtEcho (make-entity-name "a" 1)))))

;;; Host functions invoked by the module: any global procedure.
(define (host-add a b) (+ a b))
(define (host-list . items) items)
(define (host-fails) (car '()))
(define (host-nothing) (if #f #f))
(define (host-false) #f)
(define (host-symbol) 'symbol)
(define *ZRATTPINO* "ID_PINO")
(check "invoke" '(5100 5) (zrtAskHost "host-add" 2 3))
(check "a core procedure" '(5100 "olá") (zrtAskHost "string-append" "ol" "á"))
(check "list result" '(5100 ("a" 1)) (zrtAskHost "host-list" "a" 1))
(check "empty list result" '(5100 ()) (zrtAskHost "host-list"))
(check "false result" '(5100 ()) (zrtAskHost "host-false"))
(check "unspecified result gives no chain" '(5100) (zrtAskHost "host-nothing"))
(check "no such procedure" '(-5001) (zrtAskHost "no-such-procedure"))
(check "a variable is no procedure" '(-5001) (zrtAskHost "*ZRATTPINO*"))
(check "a failing procedure" '(-5001) (zrtAskHost "host-fails"))
(check "a result without a chain form" '(-5001) (zrtAskHost "host-symbol"))
(check "a module function through the host" '(5100 ("y")) (zrtAskHost "zrtEcho" "y"))
(define (host-exits) (exit 0))
(check "no exit from inside a module function" '(-5001) (zrtAskHost "host-exits"))
;; Continuations must not jump over the module's frames, out or back in.
(use-modules (ice-9 control))
(define escape #f)
(define (host-escapes) (escape 'escaped))
(check "no escape out of a call from the module" '(-5001)
       (call/ec (lambda (k) (set! escape k) (zrtAskHost "host-escapes"))))
(define (host-resumes) (escape 'resumed))
(check "no full continuation out of it either" '(-5001)
       (call/cc (lambda (k) (set! escape k) (zrtAskHost "host-resumes"))))
(define (host-closes) (drawing-close))
(check "no closing the drawing of a running function" '(-5001) (zrtAskHost "host-closes"))
(check "the drawing stayed" '("a.dxf" "b.dxf") (drawings))
(drawing-activate 0)
(check "entity names to the host" (list 5100 (entity-name-handle first-reference))
       (zrtAskHost "entity-name-handle" first-reference))

;;; Variables: Scheme globals of that exact name.
(define *NUMBER* 42)
(define *REAL* 2.5)
(define *LIST* '("a" "b"))
(define *SYMBOL* 'id)
(check "string variable" '(5100 "ID_PINO") (zrtVariable "*ZRATTPINO*"))
(check "integer variable" '(5100 42) (zrtVariable "*NUMBER*"))
(check "real variable" '(5100 2.5) (zrtVariable "*REAL*"))
(check "a list variable stays a list" '(5100 ("a" "b")) (zrtVariable "*LIST*"))
(check "a symbol has no value form" '(-5001) (zrtVariable "*SYMBOL*"))
(check "unbound variable" '(-5001) (zrtVariable "*UNSET*"))
(check "names are exact" '(-5001) (zrtVariable "*zrattpino*"))
(check "not from another thread" '(-5001) (zrtVariableFromThread))

;;; Colour dialog: no terminal here and nothing queued, so without
;;; colour-dialog it is printed and not confirmed.
(check "without colour-dialog" '(-5001 -1) (zrtColour 7))
(define (colour-dialog initial) (+ initial 5))
(check "colour-dialog answers" '(5100 12) (zrtColour 7))
(set! colour-dialog (lambda (initial) #f))
(check "colour-dialog cancels" '(-5001 -1) (zrtColour 7))
(set! colour-dialog (lambda (initial) 257))
(check "colour out of range" '(-5001 -1) (zrtColour 7))

;;; File dialog: no terminal here and nothing queued, so without file-dialog
;;; it is printed and cancelled.
(check "without file-dialog" '(2 "") (zrtFile "/d"))
(define file-dialog-asked '())
(define (file-dialog folder filter title)
  (set! file-dialog-asked (list folder filter title))
  (string-append folder "/relay.dwg"))
(check "file-dialog answers" '(1 "/d/relay.dwg") (zrtFile "/d"))
(check "file-dialog is told the folder, filter and title" '("/d" "Drawings|*.dwg" "Abrir") file-dialog-asked)
(set! file-dialog (lambda (folder filter title) #f))
(check "file-dialog cancels" '(2 "") (zrtFile "/d"))
(set! file-dialog (lambda (folder filter title) 42))
(check "file-dialog answers no path" '(2 "") (zrtFile "/d"))
(set! file-dialog (lambda (folder filter title) (error "broken chooser")))
(check "file-dialog fails" '(2 "") (zrtFile "/d"))

;;; The program's name.
(check "PROGRAM seen by the module" '("zrtest-program") (zrtProgram))
(check "PROGRAM seen by Scheme" "zrtest-program" (system-variable "PROGRAM"))

;;; Drawings opened later are announced to the module; closing ones too.
(check "index of a new drawing" 2 (drawing-open "c.dxf"))
(check "ready" '("ready c.dxf") (zrtNotifications))
(check "functions of the new drawing" test-functions (list-head (module-functions) 11))
(drawing-close)
(check "closing" '("ready c.dxf" "closing c.dxf") (zrtNotifications))
(check "the last opened becomes active" 1 (drawing-active))
(check "a drawing that does not open" 'drawing-error (error-key (lambda () (drawing-open "missing.dxf"))))
(check "nothing opened then" '("a.dxf" "b.dxf") (drawings))
(check "no such drawing" 'out-of-range (error-key (lambda () (drawing-activate 7))))

;;; Without drawings no function runs.
(drawing-close 0)
(drawing-close "b.dxf")
(check "none open" '() (drawings))
(check "no active drawing" #f (drawing-active))
(check "no functions" '() (module-functions))
(check "calling without a drawing" 'host-error (error-key zrtNil))
(check "entity names of closed drawings" #f (entity-name-handle first-reference))

(display "all checks ran")
(newline)
