#!/usr/bin/env bash
# Sets up the machine, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs the whole test suite through CTest.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh" asan

# Threads run again under ThreadSanitizer: the toolkit hands messages between
# threads, and the selection dialog fills its catalogue tree on a worker thread.
bash "$top/scripts/build.sh" tsan zrui_tests zrselconector_tests
TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1} "$top/build/tsan/tests/platform/ui/zrui_tests" --gtest_brief=1
TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1} "$top/build/tsan/tests/zrconector/dialogs/zrselconector_tests" --gtest_brief=1

# The DXF reader against generated input: a bounded libFuzzer run (clang)
# over the corpus kept in tests/fuzz/corpus.
bash "$top/tests/fuzz/build-and-run.sh" 60

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$top/build/asan"
# The catalogue tests run against both drivers: a throwaway PostgreSQL server
# lives for the length of the run.
bash "$top/scripts/pg-test-server.sh" run -- ctest --output-on-failure -j "$(nproc)" --timeout 900

# The long-session figures: resident memory after the warm-up and the last
# round, and open files by round, for each catalogue the soak ran against.
echo "Long sessions (soak):"
grep -hE "Testing: sessions\.soak|^soak: (resident|open files|[0-9.]+ s for)" Testing/Temporary/LastTest.log \
  || echo "  (no soak figures in this run)"
