;;; One long zrhost session: drawings are opened in batches (several open at
;;; once), the module's three drawing queries run on each while it is open,
;;; and the batch is closed again. One more drawing, the resident, stays open
;;; from start to end and is queried in every batch: what a document gathers
;;; while it stays open must stay flat too. After every round the process's
;;; figures are printed, one line each, for the driver to bound:
;;;
;;;   soak: round N documents D calls C resident-calls R rss-kb K peak-kb P open-files F
;;;
;;; The driver defines these before loading the script:
;;;   soak-drawings       the drawing files, one document each, in order
;;;   soak-rounds         how many rounds the documents are split into
;;;   soak-batch          how many documents are open at once
;;;   soak-calls          how many times each query runs on each document
;;;   soak-resident-calls how many times each query runs on the resident in
;;;                       each batch
;;;   soak-catalogue      #t when the catalogue is there, #f when the settings
;;;                       name a file that does not exist
;;;   soak-folder         where drawings are saved, with resident.dxf (a copy
;;;                       of the drawing), truncated.dxf (a drawing cut short)
;;;                       and broken.dxf (no header) in it
;;;
;;; Each batch also meets the failures of a session: drawings that do not
;;; load, a save that cannot be written, queries with wrong arguments. Each
;;; must fail cleanly and leave nothing behind.

(use-modules (srfi srfi-1) (ice-9 format))

(define (check what ok)
  (unless ok (error "soak check failed:" what)))

(define (in-folder name) (string-append soak-folder "/" name))

;; The key of the error that thunk raises, or #f when it raises none.
(define (error-key thunk)
  (catch #t (lambda () (thunk) #f) (lambda (key . args) key)))

(define resident (in-folder "resident.dxf"))
(define documents-done 0)
(define calls-done 0)           ; calls of each query on the batches' documents
(define resident-calls-done 0)  ; calls of each query on the resident

;; What the first document answered; every copy of the drawing must answer
;; the same.
(define first-listing #f)
(define first-x1-handle #f)

;; The listing and X1's entity name as the active drawing answers them:
;; with the catalogue, the twelve connectors and an entity name; without it,
;; nil for both (the failure is reported in a message box).
(define (check-listing lines)
  (check "the listing's length" (= (length lines) (if soak-catalogue 12 0)))
  (if first-listing
      (check "every copy lists the same connectors" (equal? lines first-listing))
      (set! first-listing lines)))

(define (check-x1 name)
  (if soak-catalogue
      (let ((handle (and (entity-name? name) (entity-name-handle name))))
        (check "X1 has an entity name" (string? handle))
        (if first-x1-handle
            (check "X1 has the same handle in every copy" (string=? handle first-x1-handle))
            (set! first-x1-handle handle)))
      (check "no entity name without the catalogue" (null? name))))

;; The three queries, soak-calls times each, on the active drawing. Returns
;; the entity name of X1, which must name nothing once its drawing closes.
(define (query-active-drawing)
  (let loop ((i 0) (x1 #f))
    (if (= i soak-calls)
        x1
        (let ((name (begin
                      (AtualizarDicConectores)
                      (check-listing (BuscaListaConectores))
                      (GetEnameConector "X1"))))
          (check-x1 name)
          (when x1
            (check "asking again gives the same entity name" (equal? name x1)))
          (check "names are exact" (null? (GetEnameConector "x1")))
          (check "a number is no name" (null? (GetEnameConector 12)))
          (set! calls-done (+ calls-done 1))
          (loop (+ i 1) name)))))

;; The resident's answers after its first refresh: the entity name of X1 and
;; $HANDSEED, which stays put when a refresh creates no object.
(define resident-x1 #f)
(define resident-handseed #f)

(define (query-resident)
  (drawing-activate resident)
  (do ((i 0 (+ i 1))) ((= i soak-resident-calls))
    (AtualizarDicConectores)
    (check-listing (BuscaListaConectores))
    (let ((x1 (GetEnameConector "X1")))
      (check-x1 x1)
      (unless resident-x1
        (set! resident-x1 x1)
        (set! resident-handseed (system-variable "HANDSEED")))
      (check "the resident gives the same entity name" (equal? x1 resident-x1))
      (when soak-catalogue
        (check "the entity name still names X1" (equal? (entity-name-handle resident-x1) first-x1-handle))))
    (check "a refresh of the resident creates no object" (equal? (system-variable "HANDSEED") resident-handseed))
    (set! resident-calls-done (+ resident-calls-done 1))))

;; Drawings that do not load add no document.
(define (open-unreadable-drawings)
  (for-each (lambda (name)
              (check (string-append name " is refused") (eq? (error-key (lambda () (drawing-open (in-folder name))))
                                                              'drawing-error)))
            '("missing.dxf" "truncated.dxf" "broken.dxf"))
  (check "no document for a drawing that does not load" (equal? (drawings) (list resident))))

;; The active drawing is saved beside the copies (over the previous save),
;; then to a folder that does not exist: that save fails and the drawing keeps
;; the path of the one that worked.
(define (save-active-drawing)
  (let ((saved (in-folder "saved.dxf")))
    (drawing-save-as saved)
    (check "a failed save is an error"
           (eq? (error-key (lambda () (drawing-save-as (in-folder "no-such-folder/saved.dxf")))) 'drawing-error))
    (check "a failed save keeps the drawing's path" (string=? (list-ref (drawings) (drawing-active)) saved))))

;; Opens the drawings, queries each (making it active first), saves one,
;; then closes them: the middle one first, so that closing is not always
;; from the end.
(define (run-batch paths)
  (open-unreadable-drawings)
  (for-each (lambda (path) (drawing-open path)) paths)
  (check "the batch is open beside the resident" (equal? (drawings) (cons resident paths)))
  (let ((names (map (lambda (path)
                      (drawing-activate path)
                      (query-active-drawing))
                    paths)))
    (query-resident)
    (drawing-activate (car paths))
    (save-active-drawing)
    (set! paths (cons (in-folder "saved.dxf") (cdr paths)))
    (let* ((middle (quotient (length paths) 2))
           (order (cons (list-ref paths middle)
                        (append (take paths middle) (drop paths (+ middle 1))))))
      (for-each (lambda (path) (drawing-close path)) order))
    (check "every drawing of the batch closed" (equal? (drawings) (list resident)))
    (for-each (lambda (name)
                (when (entity-name? name)
                  (check "an entity name of a closed drawing names nothing" (not (entity-name-handle name)))))
              names)
    (set! documents-done (+ documents-done (length paths)))))

(define (report-figures round)
  ;; Collect twice: what a first collection frees may hold the last
  ;; references to more.
  (gc)
  (gc)
  (let ((memory (process-memory)))
    (format #t "soak: round ~a documents ~a calls ~a resident-calls ~a rss-kb ~a peak-kb ~a open-files ~a~%"
            round documents-done calls-done resident-calls-done
            (assq-ref memory 'rss) (assq-ref memory 'peak-rss) (process-open-files))
    (force-output)))

(define (batches paths size)
  (if (<= (length paths) size)
      (list paths)
      (cons (take paths size) (batches (drop paths size) size))))

;; A query needs an open drawing. By name: before the first drawing opens,
;; the module has no procedures.
(define (query-without-drawing)
  (check "no drawing is open" (null? (drawings)))
  (check "a query with no drawing open is an error"
         (eq? (error-key (lambda () (call-module-function "BuscaListaConectores"))) 'host-error)))

(define (run-soak)
  (let ((per-round (quotient (length soak-drawings) soak-rounds)))
    (check "the drawings divide into the rounds" (= (* per-round soak-rounds) (length soak-drawings)))
    (query-without-drawing)
    (drawing-open resident)
    (report-figures 0)
    (let loop ((round 1) (rest soak-drawings))
      (when (<= round soak-rounds)
        (for-each run-batch (batches (take rest per-round) soak-batch))
        (report-figures round)
        (loop (+ round 1) (drop rest per-round))))
    (drawing-close resident)
    (query-without-drawing)
    (when soak-catalogue
      (check "the resident's entity name names nothing once it closed" (not (entity-name-handle resident-x1))))
    (format #t "soak: done documents ~a calls ~a resident-calls ~a~%"
            documents-done calls-done resident-calls-done)))

(run-soak)
