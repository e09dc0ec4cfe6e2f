#!/usr/bin/env bash
# A throwaway PostgreSQL server for the database tests.
#
#   scripts/pg-test-server.sh run -- COMMAND [ARGS...]
#       starts a server, loads the example catalogue, exports ZR_TEST_PG and
#       runs COMMAND; the server is stopped and its folder removed when the
#       command ends, fails or is interrupted. Exits with COMMAND's status.
#   scripts/pg-test-server.sh start
#       starts a server and prints shell assignments (eval them):
#       ZR_TEST_PG="host=127.0.0.1 port=... dbname=zrcatalogo user=zrtest password=..."
#       ZR_PG_TEST_DIR=<folder of the server>
#   scripts/pg-test-server.sh stop DIR
#       stops the server started in DIR and removes DIR.
#
# The server listens on 127.0.0.1 only, on a free port, with its data in a new
# temporary folder. PostgreSQL refuses to run as root: as root the server runs
# as the "postgres" account. The role zrtest (password login, may create
# databases) owns the database zrcatalogo, which holds the example catalogue;
# tests that change data copy it with CREATE DATABASE ... TEMPLATE zrcatalogo.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}
CATALOGUE_SQL=${ZR_CATALOGUE_SQL:-$top/examples/catalogue/catalogue.sql}

die() { echo "pg-test-server: $*" >&2; exit 2; }

# Runs a PostgreSQL program as the account that owns the server.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

start_server() {
  [ -x "$PG_BIN/initdb" ] || die "PostgreSQL server programs not found in $PG_BIN (install postgresql)"
  [ -r "$CATALOGUE_SQL" ] || die "catalogue script not found: $CATALOGUE_SQL"
  if [ "$(id -u)" -eq 0 ]; then
    getent passwd postgres >/dev/null || die "running as root needs the postgres account"
  fi

  local dir port password superpass
  dir=$(mktemp -d "${TMPDIR:-/tmp}/zr-pg.XXXXXX")
  chmod 700 "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
  port=$(free_port)
  password=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
  superpass=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')

  as_owner sh -c "umask 077; printf '%s\n' '$superpass' > '$dir/superpass'"
  as_owner "$PG_BIN/initdb" -D "$dir/data" -U postgres -E UTF8 --locale=C.UTF-8 \
    -A scram-sha-256 --pwfile="$dir/superpass" >"$dir/initdb.log" 2>&1 \
    || { cat "$dir/initdb.log" >&2; rm -rf "$dir"; die "initdb failed"; }
  # No autovacuum: the tests' databases live for seconds, and a worker the
  # server starts on one holds it as the superuser, which a test's role
  # cannot make leave when it drops the database ("DROP DATABASE ... WITH
  # (FORCE)" then fails now and then).
  as_owner "$PG_BIN/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start \
    -o "-c listen_addresses=127.0.0.1 -p $port -k $dir -c fsync=off -c max_connections=100 -c autovacuum=off" >/dev/null \
    || { cat "$dir/server.log" >&2; rm -rf "$dir"; die "the server did not start"; }

  local psql=("$PG_BIN/psql" -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port")
  as_owner env PGPASSWORD="$superpass" "${psql[@]}" -U postgres -d postgres \
    -c "CREATE ROLE zrtest LOGIN CREATEDB PASSWORD '$password'" \
    -c "CREATE DATABASE zrcatalogo OWNER zrtest" >/dev/null \
    || { stop_server "$dir"; die "could not create the test role and database"; }
  as_owner env PGPASSWORD="$password" "${psql[@]}" -U zrtest -d zrcatalogo \
    -f "$CATALOGUE_SQL" >/dev/null \
    || { stop_server "$dir"; die "could not load $CATALOGUE_SQL"; }

  ZR_TEST_PG="host=127.0.0.1 port=$port dbname=zrcatalogo user=zrtest password=$password"
  ZR_PG_TEST_DIR=$dir
  ZR_PG_PORT=$port
}

stop_server() {
  local dir=$1
  [ -n "$dir" ] && [ -d "$dir" ] || return 0
  case "$dir" in */zr-pg.*) ;; *) die "refusing to remove $dir: not a test server folder" ;; esac
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$PG_BIN/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
}

case "${1:-}" in
  start)
    start_server
    printf 'ZR_TEST_PG=%q\nZR_PG_TEST_DIR=%q\n' "$ZR_TEST_PG" "$ZR_PG_TEST_DIR"
    ;;
  stop)
    [ $# -eq 2 ] || die "usage: $0 stop DIR"
    stop_server "$2"
    ;;
  run)
    shift
    [ "${1:-}" = "--" ] && shift
    [ $# -gt 0 ] || die "usage: $0 run -- COMMAND [ARGS...]"
    ZR_PG_TEST_DIR=""
    trap 'stop_server "$ZR_PG_TEST_DIR"' EXIT
    trap 'exit 130' INT TERM
    start_server
    echo "pg-test-server: PostgreSQL on 127.0.0.1 port $ZR_PG_PORT, database zrcatalogo, role zrtest" >&2
    export ZR_TEST_PG
    # The throwaway server knows no Kerberos: libpq is told not to try GSS
    # encryption first. The attempt loads the Kerberos libraries' thread
    # data, which the leak checker of the sanitizer builds cannot scan at
    # exit (its tracer crashes after a refused password).
    export PGGSSENCMODE=disable
    status=0
    "$@" || status=$?
    exit "$status"
    ;;
  *)
    die "usage: $0 run -- COMMAND [ARGS...] | start | stop DIR"
    ;;
esac
