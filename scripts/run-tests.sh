#!/usr/bin/env bash
# Sets up the machine, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs the whole test suite through CTest.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh" asan

# Threads run again under ThreadSanitizer: the toolkit hands messages between
# threads, the selection dialog fills its catalogue tree on a worker thread,
# and zrcheck reads and checks several drawings at once and writes a large
# report on two.
bash "$top/scripts/build.sh" tsan zrui_tests zrselconector_tests check_catalogue_tests drawing_check_tests \
  json_report_tests background_faults_tests kept_memory_tests read_ahead_tests drawing_reader_tests zrcheck
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1}
"$top/build/tsan/tests/platform/ui/zrui_tests" --gtest_brief=1
"$top/build/tsan/tests/zrconector/dialogs/zrselconector_tests" --gtest_brief=1
"$top/build/tsan/tests/tools/check_catalogue_tests" --gtest_brief=1
"$top/build/tsan/tests/tools/drawing_check_tests" --gtest_brief=1
"$top/build/tsan/tests/tools/json_report_tests" --gtest_brief=1
"$top/build/tsan/tests/platform/dwg/background_faults_tests" --gtest_brief=1
"$top/build/tsan/tests/platform/dwg/kept_memory_tests" --gtest_brief=1
"$top/build/tsan/tests/tools/read_ahead_tests" --gtest_brief=1
"$top/build/tsan/tests/tools/drawing_reader_tests" --gtest_brief=1
bash "$top/examples/catalogue/build-sqlite.sh" >/dev/null
drawing="$top/examples/drawing.dxf"
# Exit 1: the example drawing has findings on purpose; anything else fails.
status=0
"$top/build/tsan/bin/zrcheck" --catalogue "$top/examples/catalogue/catalogo.db" --json -o /dev/null -j 4 \
  "$drawing" "$drawing" "$drawing" "$drawing" "$drawing" "$drawing" || status=$?
[ "$status" -eq 1 ] || { echo "run-tests.sh: zrcheck -j 4 under ThreadSanitizer: exit $status" >&2; exit 1; }
# The drawings are read while the catalogue opens: a catalogue that cannot be
# opened stops the readers (exit 2), with no race on the way.
not_a_catalogue="$top/build/tsan/not-a-catalogue.db"
rm -f "$not_a_catalogue"
/usr/bin/python3 -c 'import sqlite3, sys; sqlite3.connect(sys.argv[1]).execute("CREATE TABLE T (A)")' "$not_a_catalogue"
status=0
"$top/build/tsan/bin/zrcheck" --catalogue "$not_a_catalogue" --json -o /dev/null -j 2 \
  "$drawing" "$drawing" "$drawing" "$drawing" 2>/dev/null || status=$?
[ "$status" -eq 2 ] || { echo "run-tests.sh: zrcheck -j 2, no catalogue, under ThreadSanitizer: exit $status" >&2; exit 1; }
unset TSAN_OPTIONS

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
