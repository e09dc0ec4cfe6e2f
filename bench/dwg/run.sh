#!/usr/bin/env bash
# Builds the benchmark, makes the benchmark drawing (10,000 connectors x 20 pin
# symbols) once, and prints the object model's figures beside ezdxf's.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh" release
drawing="$top/build/bench/pins_10000x20.dxf"
mkdir -p "$(dirname "$drawing")"
[ -f "$drawing" ] || /usr/bin/python3 "$top/bench/dwg/make_bench_drawing.py" "$drawing"
/usr/bin/python3 "$top/bench/dwg/compare_ezdxf.py" "$top/build/release/bin/dwg_bench" "$drawing"
echo
echo "== The pin check on the same drawing; pairing by grid beside the plain scan"
ZR_BENCH_DRAWING="$drawing" "$top/build/release/bin/pins_bench"
