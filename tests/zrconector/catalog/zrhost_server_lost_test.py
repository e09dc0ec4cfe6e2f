#!/usr/bin/python3
"""The catalogue server stops and comes back during a zrhost session.

zrhost loads the module and the suite's script, with settings that point at a
PostgreSQL server of this test's own. BuscaListaConectores reads the
catalogue (the pin check behind the listing).

Session 1: the script lists the example drawing's connectors, stops the
server, lists twice more (each time the host prints the error boxes and the
function gives nil), starts the server on the same port and lists again: the
first listing, without a box.

Session 2: the server is down when the session starts: the first listing
gives nil with a box (the module could not open its connection), and once
the server is started the next listing works.

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

PRELUDE = r'''
(define (check what ok) (unless ok (error "check failed:" what)))
(define (mark text) (display text) (newline) (force-output))
'''

LOST_DURING_SESSION = PRELUDE + r'''
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

DOWN_AT_START = PRELUDE + r'''
(check "nil while the server is down" (null? (BuscaListaConectores)))
(mark "== server starts")
(check "the server started" (zero? (system "@START@")))
(AtualizarDicConectores)
(check "twelve connectors once the server runs" (= (length (BuscaListaConectores)) 12))
(display "server-down-at-start: ok")
(newline)
'''

BOX = re.compile(r"^  SQL ERROR: (.*)$", re.M)


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


class Session:
    """Runs zrhost sessions against the server in folder."""

    def __init__(self, zrhost, module, examples, work, folder, pg):
        self.zrhost, self.module, self.examples, self.work = zrhost, module, examples, work
        with open(os.path.join(work, "zrlost.ini"), "w") as f:
            f.write("[database]\ndata_folder = \ntype = SQL\n"
                    f"name = {pg['dbname']}\nserver = {pg['host']},{pg['port']}\n"
                    f"user = {pg['user']}\npassword = {pg['password']}\n")
        pg_ctl = f"{PG_BIN}/pg_ctl -D {folder}/data"
        self.stop = as_owner(f"{pg_ctl} -m fast -w -t 60 stop") + " >/dev/null"
        self.start = as_owner(f"{pg_ctl} -l {folder}/server.log -w -t 60 start -o '-c listen_addresses=127.0.0.1 "
                              f"-p {pg['port']} -k {folder} -c fsync=off -c max_connections=100'") + " >/dev/null"
        # The PostgreSQL driver keeps a few allocations of failed connections
        # for the life of the process; they are not this project's leaks.
        self.suppressions = os.path.join(work, "lsan.supp")
        with open(self.suppressions, "w") as f:
            f.write("leak:psqlodbcw.so\nleak:psqlodbca.so\n")

    def run(self, name, text, done):
        """Runs the script text in a new session on a fresh copy of the
        drawing; gives its output, or None when it failed."""
        script = os.path.join(self.work, name + ".scm")
        with open(script, "w") as f:
            f.write(text.replace("@STOP@", self.stop.replace('"', '\\"'))
                    .replace("@START@", self.start.replace('"', '\\"')))
        drawing = os.path.join(self.work, name + ".dxf")
        shutil.copy(os.path.join(self.examples, "drawing.dxf"), drawing)
        lsan = os.environ.get("LSAN_OPTIONS", "")
        env = dict(os.environ, ZR_SETTINGS_DIR=self.work,
                   LSAN_OPTIONS=(lsan + ":" if lsan else "") + "suppressions=" + self.suppressions)
        run = subprocess.run([self.zrhost, "--program", "zrlost", "--module", self.module,
                              "--load", os.path.join(self.examples, "suite.scm"), "--script", script, drawing],
                             capture_output=True, text=True, env=env, stdin=subprocess.DEVNULL, timeout=240)
        print(run.stdout)
        print(run.stderr, file=sys.stderr)
        if run.returncode != 0 or done not in run.stdout:
            print(f"{name}: zrhost failed with {run.returncode}")
            return None
        return run.stdout


def lost_during_session(session):
    out = session.run("lost-during-session", LOST_DURING_SESSION, "server-lost: ok")
    if out is None:
        return False
    stops, starts = out.index("== server stops"), out.index("== server starts")
    up, down, back = out[:stops], out[stops:starts], out[starts:]
    if BOX.search(up) or BOX.search(back):
        print("an SQL ERROR box while the server was running")
        return False
    shown = BOX.findall(down)
    if not any(s.startswith("SELECT PINO_KEY, PINO_ID, PINO_PINO FROM BDPINOS") for s in shown):
        print("no SQL ERROR box for the pin rows while the server was down")
        return False
    # Two listings ran while the server was down: each failing statement
    # shows exactly one box in each.
    counts = collections.Counter(shown)
    if any(n != 2 for n in counts.values()):
        print(f"each statement should show one box per listing while the server is down: {counts}")
        return False
    fatal = down.count("\n  Fatal Error\n")
    print(f"while the server was down, each listing showed {len(shown) // 2} SQL ERROR box(es) "
          f"and {fatal // 2} other box(es)")
    return True


def down_at_start(session):
    if subprocess.run(session.stop, shell=True).returncode != 0:
        print("the server did not stop")
        return False
    out = session.run("down-at-start", DOWN_AT_START, "server-down-at-start: ok")
    if out is None:
        return False
    starts = out.index("== server starts")
    if "\n  Fatal Error\n" not in out[:starts]:
        print("no box for the connection that could not be opened")
        return False
    if BOX.search(out[starts:]) or "Fatal Error" in out[starts:]:
        print("a box once the server was running")
        return False
    return True


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
        session = Session(zrhost, module, examples, work, folder, pg)
        ok = lost_during_session(session) and down_at_start(session)
        return 0 if ok else 1
    finally:
        subprocess.run(["bash", server_script, "stop", folder], timeout=120, env=dict(os.environ, PG_BIN=PG_BIN))


if __name__ == "__main__":
    sys.exit(main())
