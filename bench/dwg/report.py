#!/usr/bin/python3
"""Prints the figures of the issue's targets from Google Benchmark JSON files.

    report.py RESULTS.json ...

- zrcheck --json whole run on the 10,000 x 20 drawing (target: at most 1 s);
- zrdxf info beside dxflib's parse of the same file (target: 8 times faster);
- for each benchmark run at 25,000, 50,000, 100,000 and 200,000 symbols, the
  time ratio per doubling (target: at most 2.2 each).
Each line ends with "met" or "NOT MET"; nothing is hidden when a target is missed.
"""

import json
import re
import sys


def load(paths):
    runs = {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        for b in data.get("benchmarks", []):
            if b.get("run_type", "iteration") != "iteration" or b.get("error_occurred"):
                continue
            runs[b["name"]] = b
    return runs


def seconds(run):
    """The processor time of an in-process benchmark (a machine shared with
    other work stretches the wall clock, not that), the wall clock of a run of
    a program (marked real_time: the program's time is not this process's)."""
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[run.get("time_unit", "ns")]
    key = "real_time" if "/real_time" in run["name"] else "cpu_time"
    return run[key] * scale


def verdict(ok):
    return "met" if ok else "NOT MET"


def main(argv):
    runs = load(argv[1:])
    print("== Targets")
    check = runs.get("BM_ZrcheckJson/min_time:2.000/real_time") or next(
        (r for n, r in runs.items() if n.startswith("BM_ZrcheckJson")), None)
    if check:
        t = seconds(check)
        print(f"zrcheck --json whole run: {t:.3f} s (target <= 1 s): {verdict(t <= 1.0)}")
    info = next((r for n, r in runs.items() if n.startswith("BM_ZrdxfInfo")), None)
    dxflib = next((r for n, r in runs.items() if n.startswith("BM_DxflibParse")), None)
    if info and dxflib:
        ratio = seconds(dxflib) / seconds(info)
        print(f"zrdxf info: {seconds(info):.3f} s; dxflib parse: {seconds(dxflib):.3f} s; "
              f"{ratio:.2f} times faster (target >= 8): {verdict(ratio >= 8)}")
    peak = next((r for n, r in runs.items() if n.startswith("BM_LoadPeakMemory")), None)
    if peak and "peak / file size" in peak:
        p = peak["peak / file size"]
        print(f"peak memory of load: {peak['peak MB']:.0f} MB, {p:.2f} x file size (target <= 1.5): {verdict(p <= 1.5)}")

    print("== Scaling (time ratio per doubling of symbols, target <= 2.2)")
    series = {}
    for name, run in runs.items():
        m = re.match(r"(BM_\w+)/(\d+)", name)
        if m and int(m.group(2)) >= 25000:
            series.setdefault(m.group(1), {})[int(m.group(2))] = seconds(run)
    for name, points in sorted(series.items()):
        sizes = sorted(points)
        parts, ok = [], True
        for a, b in zip(sizes, sizes[1:]):
            ratio = points[b] / points[a]
            ok = ok and ratio <= 2.2
            parts.append(f"{a}->{b}: {ratio:.2f}")
        times = ", ".join(f"{n}: {points[n] * 1000:.1f} ms" for n in sizes)
        print(f"{name}: {times}; ratios {', '.join(parts)}: {verdict(ok and len(sizes) == 4)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
