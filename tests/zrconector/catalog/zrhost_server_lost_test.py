#!/usr/bin/python3
"""The catalogue server stops and comes back during a zrhost session.

zrhost loads the module and the suite's script, with settings that point at a
PostgreSQL server of this test's own. BuscaListaConectores reads the
catalogue (the pin check behind the listing). The session's script lists the
example drawing's connectors, stops the server, lists twice more (each time
the host prints the error boxes and the function gives nil), starts the
server on the same port and lists again: the first listing, without a box.

    zrhost_server_lost_test.py ZRHOST MODULE EXAMPLES_DIR SERVER_SCRIPT WORKDIR

Exits 77 (skipped) when PostgreSQL's server programs are not installed."""

import collections
import os
import re
import shlex
import shutil
import subprocess
import sys

SKIPPED = 77
PG_BIN = os.environ.get("PG_BIN") or "/usr/lib/postgresql/15/bin"

SCRIPT = r'''
(define (check what ok) (unless ok (error "check failed:" what)))
(define (mark text) (display text) (newline) (force-output))

(AtualizarDicConectores)
(define before (BuscaListaConectores))
(check "twelve connectors while the server runs" (= (length before) 12))
(mark "== server stops")
(check "the server stopped" (zero? (system "@STOP@")))
(check "nil while the server is down" (null? (BuscaListaConectores)))
(check "nil again while the server is down" (null? (BuscaListaConectores)))
(mark "== server starts")
(check "the server started" (zero? (system "@START@")))
(define after (BuscaListaConectores))
(check "the first listing again once the server is back" (equal? before after))
(AtualizarDicConectores)
(mark "== done")
(display "server-lost: ok")
(newline)
'''


def as_owner(command):
    """PostgreSQL refuses to run as root: the server script made the postgres
    account its owner then."""
    return ("runuser -u postgres -- " + command) if os.geteuid() == 0 else command


def start_server(script):
    run = subprocess.run(["bash", script, "start"], capture_output=True, text=True, timeout=180,
                         env=dict(os.environ, PG_BIN=PG_BIN))
    if run.returncode != 0:
        raise RuntimeError("the test server did not start: " + run.stderr)
    values = {}
    for line in run.stdout.splitlines():
        name, _, value = line.partition("=")
        values[name] = shlex.split(value)[0] if value else ""
    words = dict(word.split("=", 1) for word in values["ZR_TEST_PG"].split())
    return values["ZR_PG_TEST_DIR"], words


def main():
    zrhost, module, examples, server_script, work = sys.argv[1:6]
    if not (os.access(os.path.join(PG_BIN, "initdb"), os.X_OK) and os.access(os.path.join(PG_BIN, "pg_ctl"), os.X_OK)):
        print(f"skipped: the PostgreSQL server programs are not installed in {PG_BIN}")
        return SKIPPED
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    folder, pg = start_server(server_script)
    try:
        return run_session(zrhost, module, examples, work, folder, pg)
    finally:
        subprocess.run(["bash", server_script, "stop", folder], timeout=120, env=dict(os.environ, PG_BIN=PG_BIN))


def run_session(zrhost, module, examples, work, folder, pg):
    with open(os.path.join(work, "zrlost.ini"), "w") as f:
        f.write("[database]\ndata_folder = \ntype = SQL\n"
                f"name = {pg['dbname']}\nserver = {pg['host']},{pg['port']}\n"
                f"user = {pg['user']}\npassword = {pg['password']}\n")
    pg_ctl = f"{PG_BIN}/pg_ctl -D {folder}/data"
    stop = as_owner(f"{pg_ctl} -m fast -w -t 60 stop") + " >/dev/null"
    start = as_owner(f"{pg_ctl} -l {folder}/server.log -w -t 60 start -o '-c listen_addresses=127.0.0.1 "
                     f"-p {pg['port']} -k {folder} -c fsync=off -c max_connections=100'") + " >/dev/null"
    script = os.path.join(work, "server-lost.scm")
    with open(script, "w") as f:
        f.write(SCRIPT.replace("@STOP@", stop.replace('"', '\\"')).replace("@START@", start.replace('"', '\\"')))
    drawing = os.path.join(work, "drawing.dxf")
    shutil.copy(os.path.join(examples, "drawing.dxf"), drawing)
    # The PostgreSQL driver keeps a few allocations of failed connections for
    # the life of the process; they are not this project's leaks.
    suppressions = os.path.join(work, "lsan.supp")
    with open(suppressions, "w") as f:
        f.write("leak:psqlodbcw.so\nleak:psqlodbca.so\n")
    lsan = os.environ.get("LSAN_OPTIONS", "")
    env = dict(os.environ, ZR_SETTINGS_DIR=work,
               LSAN_OPTIONS=(lsan + ":" if lsan else "") + "suppressions=" + suppressions)
    run = subprocess.run([zrhost, "--program", "zrlost", "--module", module,
                          "--load", os.path.join(examples, "suite.scm"), "--script", script, drawing],
                         capture_output=True, text=True, env=env, stdin=subprocess.DEVNULL, timeout=240)
    print(run.stdout)
    print(run.stderr, file=sys.stderr)
    if run.returncode != 0 or "server-lost: ok" not in run.stdout:
        print(f"zrhost failed with {run.returncode}")
        return 1

    out = run.stdout
    stops, starts = out.index("== server stops"), out.index("== server starts")
    up, down, back = out[:stops], out[stops:starts], out[starts:]
    box = re.compile(r"^  SQL ERROR: (.*)$", re.M)
    if box.search(up) or box.search(back):
        print("an SQL ERROR box while the server was running")
        return 1
    shown = box.findall(down)
    pin_reads = [s for s in shown if s.startswith("SELECT PINO_KEY, PINO_ID, PINO_PINO FROM BDPINOS")]
    if not pin_reads:
        print("no SQL ERROR box for the pin rows while the server was down")
        return 1
    # Two listings ran while the server was down: each failing statement shows
    # exactly one box in each.
    counts = collections.Counter(shown)
    if any(n != 2 for n in counts.values()):
        print(f"each statement should show one box per listing while the server is down: {counts}")
        return 1
    fatal = down.count("\n  Fatal Error\n")
    print(f"while the server was down, each listing showed {len(shown) // 2} SQL ERROR box(es) "
          f"and {fatal // 2} other box(es)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
