#!/usr/bin/env bash
# Installs everything the project builds, runs and tests with, from Debian
# packages. Non-interactive and safe to run again: packages already present
# are skipped without touching the network.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev libinih-dev libncurses-dev guile-3.0-dev
  libfreetype-dev libpng-dev fonts-dejavu-core
  sqlite3 libsqlite3-dev unixodbc unixodbc-dev libsqliteodbc odbc-postgresql
  postgresql
  python3 python3-ezdxf
  tmux
  libcli11-dev nettle-dev python3-jsonschema
  nlohmann-json3-dev libpugixml-dev libtsl-hopscotch-map-dev
  libdxflib-dev time strace
  librsvg2-bin python3-pil
  lintian debootstrap chromium
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi
