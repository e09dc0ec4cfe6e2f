;;; The Scheme side of zrhost: entity names, the procedures that stand for the
;;; module's functions, and the console, script and expression runners.
;;; Loaded once at start; the C++ procedures live in (zrhost host).

(define-module (zrhost console)
  #:use-module (zrhost host)
  #:use-module (srfi srfi-9)
  #:use-module (srfi srfi-9 gnu)
  #:use-module (ice-9 buffered-input)
  #:use-module (ice-9 rdelim)
  #:use-module (zrhost help)
  #:re-export (zrhost-help)
  #:export (<entity-name> make-entity-name entity-name? entity-name-document entity-name-index
            make-module-function-procedure call-for-host
            zrhost-console zrhost-run-script zrhost-eval-string zrhost-output-failed?))

;;; Entity names: the two integers of the host's name (document serial and
;;; index). Equal names are equal?.
(define-record-type <entity-name>
  (make-entity-name document index)
  entity-name?
  (document entity-name-document)
  (index entity-name-index))

(set-record-type-printer!
 <entity-name>
 (lambda (name port)
   (let ((handle (false-if-exception (entity-name-handle name))))
     (format port "#<entity-name ~a:~a~a>" (entity-name-document name) (entity-name-index name)
             (if handle (string-append " handle " handle) "")))))

(define (make-module-function-procedure name)
  (let ((procedure (lambda args (apply call-module-function name args))))
    (set-procedure-property! procedure 'name (string->symbol name))
    (set-procedure-property! procedure 'documentation
                             (string-append "The module function " name
                                            ", run in the active drawing (see call-module-function)."))
    procedure))

;;; Errors of the host (C++ procedures, the module, the object model) print
;;; as Guile's own do: "In procedure P: message".
(define (host-error-printer port key args default-printer)
  (apply (case-lambda
           ((subr message arguments . rest)
            (when subr (format port "In procedure ~a: " subr))
            (apply format port message (or arguments '())))
           (_ (default-printer)))
         args))

(for-each (lambda (key) (set-exception-printer! key host-error-printer))
          '(host-error drawing-error module-error dialog-error))

;;; Calls from C++ into Scheme (the module's host functions, the console
;;; itself) go through call-for-host: every error is caught here and returned
;;; as (error KEY . ARGS), a result as (ok VALUE). A continuation that would
;;; leave the call otherwise (an escape to a prompt outside) would jump over
;;; the C++ frames below it: it is stopped by an error raised while it
;;; unwinds, which the host's own catch around this call takes. unblock is
;;; true when the caller holds interrupts back (a C++ procedure runs below):
;;; the Scheme code called is still interruptible, and the interrupt comes
;;; back as an error that the host raises again once its frames are left.
(define* (call-for-host procedure arguments #:optional unblock)
  (let ((returned #f))
    (dynamic-wind
      (lambda () #f)
      (lambda ()
        (let ((outcome (catch #t
                         (lambda ()
                           (let ((call (lambda () (list 'ok (apply procedure arguments)))))
                             (if unblock (call-with-unblocked-asyncs call) (call))))
                         (lambda (key . args) (cons* 'error key args)))))
          (set! returned #t)
          outcome))
      (lambda ()
        (unless returned
          (scm-error 'host-error #f
                     "a continuation tried to leave a call made by the host or the module: stopped"
                     '() #f))))))

;;; Running code with every error caught.

(define user-module (resolve-module '(guile-user)))

(define (quit-status args)
  (cond ((null? args) 0)
        ((eq? (car args) #t) 0)
        ((eq? (car args) #f) 1)
        ((integer? (car args)) (car args))
        (else 1)))

;; Whether a write failed for want of room or of a reader (a full disk, a
;; closed pipe): the run then ends with exit status 2, whatever its scripts
;; returned, since what it was asked to print did not arrive.
(define output-failed #f)
(define (zrhost-output-failed?) output-failed)
(define (output-failure? key args)
  (and (eq? key 'system-error)
       (= (length args) 4)
       (pair? (list-ref args 3))
       (memv (car (list-ref args 3)) (list EPIPE ENOSPC EIO EFBIG))))

(define (report-error where key args)
  (when (output-failure? key args) (set! output-failed #t))
  (let ((port (current-error-port)))
    (force-output (current-output-port))
    (display "zrhost: " port)
    (when where
      (display where port)
      (display ": " port))
    (display "error: " port)
    (print-exception port #f key args)
    (force-output port)))

;;; Ctrl-C at the console throws this key wherever Scheme runs (C++ code of
;;; the host holds it back until its frames are left).
(define interrupt-key 'zrhost-interrupt)

;; Runs on the console thread after Ctrl-C wherever Scheme code is let
;; through: in a read or an evaluation of the console.
(define (interrupt-handler)
  ((@@ (zrhost host) %interrupt-taken))
  (throw interrupt-key))

;; Calls thunk (a read of the terminal) where Ctrl-C ends it at once.
(define (reading thunk)
  (let ((flag (@@ (zrhost host) %console-reading)))
    (call-with-unblocked-asyncs
     (lambda () (dynamic-wind (lambda () (flag #t)) thunk (lambda () (flag #f)))))))

;; Calls thunk. Returns (ok value ...), (quit status) after (exit), (error)
;; after printing the error with where (a string or #f), or (interrupted)
;; after Ctrl-C.
(define (protected where thunk)
  (catch #t
    (lambda () (call-with-values thunk (lambda values (cons 'ok values))))
    (lambda (key . args)
      (cond ((eq? key 'quit) (list 'quit (quit-status args)))
            ((eq? key interrupt-key) (list 'interrupted))
            (else (report-error where key args) (list 'error))))))

(define (evaluate form) (eval form user-module))

(define (form-place file form)
  (let ((line (and (pair? form) (source-property form 'line))))
    (if line (string-append file ":" (number->string (+ line 1))) file)))

(define (print-values values)
  (for-each (lambda (value)
              (unless (unspecified? value)
                (write value)
                (newline)))
            values)
  (force-output))

;; After a form, the rest of its line up to the newline when it is only
;; blanks: the next read then starts on a fresh line (with readline, at the
;; first prompt rather than the continuation one).
(define (consume-trailing-blanks port)
  (let loop ()
    (let ((c (peek-char port)))
      (cond ((eof-object? c))
            ((memv c '(#\space #\tab #\return)) (read-char port) (loop))
            ((char=? c #\newline) (read-char port))))))

;;; The console: reads forms from port until it ends, prints each result;
;;; an error is printed and reading goes on; Ctrl-C drops the line being
;;; typed, or stops the evaluation (saying so), and reading goes on. At the
;;; end (its input or (exit)) leave? decides whether it really ends. Returns
;;; the exit status.
(define (console-loop port prompt new-read leave?)
  (define (end status) (if (leave?) status (loop)))
  (define (loop)
    (when prompt
      (display prompt)
      (force-output))
    (new-read)
    (let ((read-result (protected #f (lambda ()
                                       (let ((form (reading (lambda () (read port)))))
                                         ;; Peeking after the end would read
                                         ;; again: Ctrl-D would need pressing twice.
                                         (unless (eof-object? form) (consume-trailing-blanks port))
                                         form)))))
      (case (car read-result)
        ((quit) (end (cadr read-result)))
        ((interrupted) (loop))
        ((error)
         ;; Skip the rest of a line that does not read.
         (false-if-exception (read-line-from port))
         (loop))
        (else
         (let ((form (cadr read-result)))
           (if (eof-object? form)
               (begin (when prompt (newline)) (end 0))
               (let ((result (protected #f (lambda () (call-with-unblocked-asyncs (lambda () (evaluate form)))))))
                 (case (car result)
                   ((interrupted)
                    ;; The terminal echoed ^C where the output stopped.
                    (force-output (current-output-port))
                    (display "\nzrhost: interrupted\n" (current-error-port))
                    (force-output (current-error-port))
                    (loop))
                   ((quit) (end (cadr result)))
                   ((ok) (print-values (cdr result)) (loop))
                   (else (loop))))))))))
  ;; Ctrl-C is let through only where protected catches it: reading and
  ;; evaluating a form.
  (call-with-blocked-asyncs loop))

(define (read-line-from port)
  (let loop ()
    (let ((c (read-char port)))
      (unless (or (eof-object? c) (char=? c #\newline))
        (loop)))))

(define history-file
  (string-append (or (getenv "HOME") ".") "/.zrhost_history"))

;;; Leaving with drawings changed and not saved: a person is asked; without
;;; a person the host names them when it ends.
(define (ask-to-leave ask)
  (let ((unsaved (drawings-unsaved)))
    (or (null? unsaved)
        (begin
          (force-output)
          (display (string-append "zrhost: not saved: " (string-join unsaved ", ")))
          (newline)
          (force-output)
          (let retry ()
            (let ((answer (ask "(s)ave and leave, (l)eave without saving, or (b)ack to the console? [b] ")))
              (cond ((or (eof-object? answer) (not answer)) #f)
                    ((string-prefix-ci? "s" (string-trim-both answer))
                     (let ((saved (protected "saving" (lambda () (for-each drawing-save unsaved)))))
                       (eq? (car saved) 'ok)))
                    ((string-prefix-ci? "l" (string-trim-both answer)) #t)
                    ((or (string-null? (string-trim-both answer))
                         (string-prefix-ci? "b" (string-trim-both answer)))
                     #f)
                    (else (retry)))))))))

;; interactive: input is a terminal; readline: (ice-9 readline) is loaded.
(define (zrhost-console interactive readline)
  (greet interactive)
  (when interactive ((@@ (zrhost host) %install-console-interrupt) interrupt-handler))
  (let ()
    (define (restore) (when interactive ((@@ (zrhost host) %remove-console-interrupt))))
    (if readline
        (let ((rl (resolve-interface '(ice-9 readline))))
          ;; The history is zrhost's own, not Guile's.
          ((module-ref rl 'readline-disable) 'history-file)
          (false-if-exception ((module-ref rl 'read-history) history-file))
          ((module-ref rl 'set-readline-prompt!) "zrhost> " "... ")
          (let* ((port ((module-ref rl 'readline-port)))
                 ;; Each form starts a new read: the first prompt, not the
                 ;; continuation one.
                 (new-read (lambda () (set-buffered-input-continuation?! port #f)))
                 (ask (lambda (prompt)
                        (let ((answer (protected #f (lambda ()
                                                      (reading (lambda () ((module-ref rl 'readline) prompt)))))))
                          (and (eq? (car answer) 'ok) (cadr answer)))))
                 (status (console-loop port #f new-read (lambda () (ask-to-leave ask)))))
            (false-if-exception ((module-ref rl 'write-history) history-file))
            (newline)
            (restore)
            status))
        (let* ((ask (lambda (prompt)
                      (display prompt)
                      (force-output)
                      (let ((answer (protected #f (lambda ()
                                                    (reading (lambda () (read-line (current-input-port))))))))
                        (and (eq? (car answer) 'ok) (cadr answer)))))
               (status (console-loop (current-input-port) (and interactive "zrhost> ") (lambda () #f)
                                     (if interactive (lambda () (ask-to-leave ask)) (lambda () #t)))))
          (restore)
          status))))

(define (greet interactive)
  (when interactive
    (for-each (lambda (line) (display line) (newline))
              (wrap-paragraph "zrhost: Scheme console. (zrhost-help) for help; Ctrl-C stops, Ctrl-D ends."
                              (max 20 (- (terminal-columns) 1)) "" "  "))))

;;; A script: its forms are read and evaluated in order; the first error is
;;; printed with the file and line of its form and ends the script (status 1).
(define (zrhost-run-script file)
  (let ((opened (protected file (lambda () (open-input-file file)))))
    (if (not (eq? (car opened) 'ok))
        1
        (let ((port (cadr opened)))
          (let loop ()
            (let ((read-result (protected file (lambda () (read port)))))
              (case (car read-result)
                ((quit) (cadr read-result))
                ((error) 1)
                (else
                 (let ((form (cadr read-result)))
                   (if (eof-object? form)
                       0
                       (let ((result (protected (form-place file form) (lambda () (evaluate form)))))
                         (case (car result)
                           ((ok) (loop))
                           ((quit) (cadr result))
                           (else 1)))))))))))))

;;; An expression (or several): each is evaluated; the values of the last
;;; are printed. Returns the exit status.
(define (zrhost-eval-string text)
  (let ((port (open-input-string text)))
    (let loop ((last '()))
      (let ((read-result (protected "--eval" (lambda () (read port)))))
        (case (car read-result)
          ((quit) (cadr read-result))
          ((error) 1)
          (else
           (let ((form (cadr read-result)))
             (if (eof-object? form)
                 (begin (print-values last) 0)
                 (let ((result (protected "--eval" (lambda () (evaluate form)))))
                   (case (car result)
                     ((ok) (loop (cdr result)))
                     ((quit) (cadr result))
                     (else 1)))))))))))
