;; Refreshes the connector dictionary of the active drawing and prints the
;; connectors it lists: name, flag ("S": the name was proposed), the handle of
;; the connector's dictionary entry, and the catalogue code.
(AtualizarDicConectores)
(let ((lines (BuscaListaConectores)))
  (format #t "~a connectors in the dictionary and the drawing~%" (length lines))
  (for-each
   (lambda (line)
     (let ((fields (string-split line #\page)))
       (format #t "  ~8a flag ~a  entry ~4a  code ~a~%"
               (list-ref fields 0) (list-ref fields 1) (list-ref fields 2) (list-ref fields 3))))
   lines))
(format #t "entity name of X1: ~a~%" (GetEnameConector "X1"))
