#!/usr/bin/env bash
# Configures and builds one flavour of the tree.
#   scripts/build.sh release   optimised build of the programs and benchmarks in build/release
#   scripts/build.sh asan      AddressSanitizer + UndefinedBehaviorSanitizer build in build/asan
set -euo pipefail
flavour=${1:-release}
top=$(cd "$(dirname "$0")/.." && pwd)
case "$flavour" in
  release) opts=(-DCMAKE_BUILD_TYPE=Release -DZR_BUILD_TESTS=OFF) ;;
  asan)    opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZR_SANITIZE=ON -DZR_BUILD_BENCH=OFF) ;;
  *) echo "build.sh: unknown flavour '$flavour' (release or asan)" >&2; exit 2 ;;
esac
cmake -S "$top" -B "$top/build/$flavour" -G Ninja "${opts[@]}" >/dev/null
cmake --build "$top/build/$flavour" -j "$(nproc)"
