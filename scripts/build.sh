#!/usr/bin/env bash
# Configures and builds one flavour of the tree.
#   scripts/build.sh release   optimised build of the programs and benchmarks in build/release
#   scripts/build.sh asan      AddressSanitizer + UndefinedBehaviorSanitizer build in build/asan
#   scripts/build.sh tsan T... ThreadSanitizer build of the given targets in build/tsan
set -euo pipefail
flavour=${1:-release}
top=$(cd "$(dirname "$0")/.." && pwd)
# The sanitizer builds exist to run the tests: -O1 (what the sanitizers
# recommend) and line tables only (-g1: enough for file:line in their reports)
# compile in about half the time of -O2 -g.
checked=("-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")
case "$flavour" in
  release) opts=(-DCMAKE_BUILD_TYPE=Release -DZR_BUILD_TESTS=OFF) ;;
  asan)    opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "${checked[@]}" -DZR_SANITIZE=ON -DZR_BUILD_BENCH=OFF) ;;
  tsan)    opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "${checked[@]}" -DZR_TSAN=ON -DZR_BUILD_BENCH=OFF) ;;
  *) echo "build.sh: unknown flavour '$flavour' (release, asan or tsan)" >&2; exit 2 ;;
esac
cmake -S "$top" -B "$top/build/$flavour" -G Ninja "${opts[@]}" >/dev/null
shift || true
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$top/build/$flavour" -j "$(nproc)" "${targets[@]}"
