#!/usr/bin/env bash
# Builds the example file catalogue (SQLite) from catalogue.sql.
#   examples/catalogue/build-sqlite.sh [OUTPUT]   default: catalogo.db beside this script
# The file is written beside its target and renamed over it, so an existing
# catalogue is replaced only by a complete one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/catalogo.db}
command -v sqlite3 >/dev/null || { echo "build-sqlite.sh: sqlite3 is not installed" >&2; exit 2; }
tmp=$(mktemp "$(dirname "$out")/.catalogo.XXXXXX")
trap 'rm -f "$tmp"' EXIT
sqlite3 -bail "$tmp" < "$here/catalogue.sql"
chmod 644 "$tmp"
mv -f "$tmp" "$out"
trap - EXIT
echo "$out"
