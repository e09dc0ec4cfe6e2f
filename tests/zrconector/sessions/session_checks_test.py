#!/usr/bin/python3
"""The soak's instruments, checked against faults made on purpose: a run that
leaks memory is judged a failure (the leak checker's report at exit is
seen), and the process figures of zrhost follow what the process does (a
large allocation raises the resident set, an open port is one more open
file, and closing it gives the count back).

    session_checks_test.py ZRHOST WORKDIR SANITIZED(ON|OFF)"""

import os
import shutil
import sys

import session_harness as harness

# Blocks taken from C's malloc through Guile's foreign-function interface
# and then dropped: nothing in the process points at them any more, so the
# leak checker must report them when zrhost exits.
LEAK = r'''
(use-modules (system foreign))
(define malloc (pointer->procedure '* (dynamic-func "malloc" (dynamic-link)) (list size_t)))
(let loop ((i 0)) (when (< i 64) (malloc 1000) (loop (+ i 1))))
(display "leaked")
(newline)
'''

FIGURES = r'''
(use-modules (rnrs bytevectors))
(define (check what ok) (unless ok (error "check failed:" what)))
(define (rss) (assq-ref (process-memory) 'rss))
(define before (rss))
(define files (process-open-files))
(check "figures are positive" (and (> before 0) (> files 0)))
(define (peak-covers-resident?)
  (let ((memory (process-memory)))
    (>= (assq-ref memory 'peak-rss) (assq-ref memory 'rss))))
(check "the peak is at least the resident set" (peak-covers-resident?))
;; 64 MB written through: every page becomes resident.
(define block (make-bytevector (* 64 1024 1024) 7))
(check "a 64 MB block raises the resident set by 48 MB or more" (>= (- (rss) before) (* 48 1024)))
(check "the peak follows" (and (peak-covers-resident?) (>= (assq-ref (process-memory) 'peak-rss) (* 48 1024))))
(define port (open-input-file "/proc/self/status"))
(check "an open port is one more open file" (= (process-open-files) (+ files 1)))
(close-port port)
(check "closing it gives the count back" (= (process-open-files) files))
(check "the figures take no argument"
       (eq? 'wrong-number-of-args (catch #t (lambda () (process-memory 1)) (lambda (key . args) key))))
(check "every figure is documented"
       (and (string? (procedure-documentation process-memory))
            (string? (procedure-documentation process-open-files))))
(display "figures: ok")
(newline)
'''


def run_script(zrhost, work, name, text):
    script = os.path.join(work, name)
    with open(script, "w") as f:
        f.write(text)
    run = harness.run_zrhost(zrhost, ["--no-module", "--script", script], work, {}, timeout=120)
    print(f"--- {name}: status {run.returncode}")
    print(run.stdout)
    print(run.stderr, file=sys.stderr)
    return run


def main():
    zrhost, work, sanitized = sys.argv[1:4]
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    failures = []

    run = run_script(zrhost, work, "figures.scm", FIGURES)
    if harness.sanitizer_problems(run) or "figures: ok" not in run.stdout:
        failures.append("the process figures do not follow the process")

    if sanitized == "ON":
        run = run_script(zrhost, work, "leak.scm", LEAK)
        problems = harness.sanitizer_problems(run)
        if "leaked" not in run.stdout:
            failures.append("the leaking script did not run")
        if not any("LeakSanitizer" in p for p in problems) or run.returncode == 0:
            failures.append(f"a run that leaks is not judged a failure (judged: {problems})")
    else:
        print("not a sanitizer build: the leak check is not exercised")

    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
