#!/usr/bin/env bash
# Builds the benchmarks, makes the benchmark drawings (10,000 connectors x 20
# pin symbols, and 25,000 to 200,000 symbols for the scaling runs) and their
# catalogue once, and prints the object model's figures beside ezdxf's and
# dxflib's, the tools' whole runs, and the time ratio per doubling of each
# query over a drawing (bench/dwg/report.py: the targets, met or not).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh" release
bin="$top/build/release/bin"
work="$top/build/bench"
drawing="$work/pins_10000x20.dxf"
mkdir -p "$work"
[ -f "$drawing" ] || /usr/bin/python3 "$top/bench/dwg/make_bench_drawing.py" "$drawing"
for n in 25000 50000 100000; do
  [ -f "$work/pins_$n.dxf" ] ||
    /usr/bin/python3 "$top/bench/dwg/make_bench_drawing.py" "$work/pins_$n.dxf" --connectors $((n / 20)) --pins 20
done
ln -sf "$drawing" "$work/pins_200000.dxf"
[ -f "$work/catalogue.db" ] || /usr/bin/python3 "$top/bench/dwg/make_bench_catalogue.py" "$work/catalogue.db"

export ZR_BENCH_DRAWING="$drawing" ZR_BENCH_DIR="$work" ZR_BENCH_CATALOGUE="$work/catalogue.db"
export ZR_ZRDXF="$bin/zrdxf" ZR_ZRCHECK="$bin/zrcheck"
/usr/bin/python3 "$top/bench/dwg/compare_ezdxf.py" "$bin/dwg_bench" "$drawing"
echo
echo "== dxflib's streaming parse of the same drawing (the anchor for zrdxf info)"
"$bin/dxflib_bench" --benchmark_out="$work/dxflib.json" --benchmark_out_format=json
echo
echo "== The tools as a user runs them"
"$bin/tools_bench" --benchmark_out="$work/tools.json" --benchmark_out_format=json
echo
echo "== The pin check on the same drawing; pairing by grid beside the plain scan; queries at four sizes"
"$bin/pins_bench" --benchmark_out="$work/pins.json" --benchmark_out_format=json
echo
"$bin/dwg_bench" --benchmark_filter=BM_LoadPeakMemory --benchmark_out="$work/peak.json" --benchmark_out_format=json >/dev/null
/usr/bin/python3 "$top/bench/dwg/report.py" "$work/dxflib.json" "$work/tools.json" "$work/pins.json" "$work/peak.json"
