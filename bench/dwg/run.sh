#!/usr/bin/env bash
# Builds the benchmarks, makes the benchmark drawings and their catalogue
# once in build/bench/, and prints every figure and target in one run:
#   own/pins_N.dxf       the project's own drawing (10,000 connectors x 20 pin
#                        symbols as pins_200000.dxf), no findings
#   findings/pins_N.dxf  the same with every second connector drawn wrong
#                        (about 10,000 findings at 200,000 symbols)
# for N = 25,000, 50,000, 100,000 and 200,000 symbols. The load beside
# ezdxf's, then report.py: the tools as processes beside dxflib's parse on
# both drawings, the scaling per doubling, and zrcheck -j 2 against -j 1.
#   RUNS=7 ROUNDS=3 bash bench/dwg/run.sh
# (RUNS: runs of each paired figure; ROUNDS: runs of the in-process figures)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh" release zrdxf zrcheck dxflib_parse dwg_bench pins_bench
bin="$top/build/release/bin"
work="$top/build/bench"
mkdir -p "$work/own" "$work/findings"
make() {  # make OUT.dxf CONNECTORS [--findings]
  [ -f "$1" ] || /usr/bin/python3 "$top/bench/dwg/make_bench_drawing.py" "$1" --connectors "$2" --pins 20 ${3:-}
}
for n in 25000 50000 100000 200000; do
  make "$work/own/pins_$n.dxf" $((n / 20))
  make "$work/findings/pins_$n.dxf" $((n / 20)) --findings
done
[ -f "$work/catalogue.db" ] || /usr/bin/python3 "$top/bench/dwg/make_bench_catalogue.py" "$work/catalogue.db"

echo "== The object model's load beside ezdxf's"
/usr/bin/python3 "$top/bench/dwg/compare_ezdxf.py" "$bin/dwg_bench" "$work/findings/pins_200000.dxf"
echo
# The in-process rounds are single-threaded: each is held to one processor
# (report.py holds the later rounds to the next processors in turn), so
# that a round's sizes are timed on the same processor, not on whichever
# the scheduler moved the thread to, at times one running slower.
first=$(/usr/bin/python3 -c 'import os; print(min(os.sched_getaffinity(0)))')
echo "== The name listing and the pin check in-process at four sizes (drawings with findings; on processor $first)"
ZR_BENCH_DIR="$work/findings" taskset -c "$first" "$bin/pins_bench" --benchmark_filter='BM_NameListing|BM_PinCheck' \
  --benchmark_out="$work/pins.json" --benchmark_out_format=json
echo
/usr/bin/python3 "$top/bench/dwg/report.py" --bin "$bin" --work "$work" --runs "${RUNS:-7}" \
  --pins-bench "$bin/pins_bench" --rounds "${ROUNDS:-3}" "$work/pins.json"
