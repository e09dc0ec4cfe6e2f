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


def base_name(name):
    """The benchmark and its argument, without the options Google Benchmark
    appends ("BM_PinCheck/25000/min_time:0.300/repeats:5_min" is
    "BM_PinCheck/25000")."""
    parts = name.split("/")
    kept = [parts[0]] + [p for p in parts[1:] if p.isdigit()]
    return "/".join(kept)


def load(paths):
    """For each benchmark, the run that stands for it: the minimum of its
    repetitions when it was repeated (the median beside it), else its one
    run. Failed runs are left out, so their targets print no figure."""
    runs = {}
    medians = {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        for b in data.get("benchmarks", []):
            if b.get("error_occurred"):
                continue
            name = base_name(b.get("run_name", b["name"]))
            kind = b.get("run_type", "iteration")
            if kind == "aggregate":
                if b.get("aggregate_name") == "min":
                    runs[name] = b
                elif b.get("aggregate_name") == "median":
                    medians[name] = b
            elif name not in runs:
                runs[name] = b
    return runs, medians


def seconds(run):
    """The processor time of the run: of this process for an in-process
    benchmark, of the program for a run of a program (its time is handed in
    as the manual time). A machine shared with other work stretches the wall
    clock, hardly the processor time. An old run of a program (real_time)
    gives the wall clock."""
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[run.get("time_unit", "ns")]
    key = "real_time" if "/real_time" in run["name"] or "/manual_time" in run["name"] else "cpu_time"
    return run[key] * scale


def verdict(ok):
    return "met" if ok else "NOT MET"


def main(argv):
    runs, medians = load(argv[1:])
    print("== Targets (minimum of the repetitions; processor time)")
    check = runs.get("BM_ZrcheckJson")
    if check:
        t = seconds(check)
        wall = f"; wall clock {check['wall_s']:.3f} s" if "wall_s" in check else ""
        print(f"zrcheck --json whole run: {t:.3f} s{wall} (target <= 1 s): {verdict(t <= 1.0)}")
    else:
        print("zrcheck --json whole run: no figure (the run failed or was skipped): NOT MET")
    info = runs.get("BM_ZrdxfInfo")
    dxflib = runs.get("BM_DxflibParse")
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
        m = re.match(r"(BM_\w+)/(\d+)$", name)
        if m and int(m.group(2)) >= 25000:
            series.setdefault(m.group(1), {})[int(m.group(2))] = seconds(run)
    for name in ("BM_NameListing", "BM_PinCheck", "BM_DictionaryRefresh", "BM_DictionaryListing", "BM_ZrcheckScaling"):
        if name not in series:
            print(f"{name}: no figures (the runs failed or were skipped): NOT MET")
    for name, points in sorted(series.items()):
        sizes = sorted(points)
        parts, ok = [], True
        for a, b in zip(sizes, sizes[1:]):
            ratio = points[b] / points[a]
            ok = ok and ratio <= 2.2
            parts.append(f"{a}->{b}: {ratio:.2f}")
        times = ", ".join(f"{n}: {points[n] * 1000:.1f} ms" for n in sizes)
        if len(sizes) != 4:
            parts.append(f"only {len(sizes)} of 4 sizes")
        med = [f"{seconds(medians[f'{name}/{n}']) * 1000:.1f}" for n in sizes if f"{name}/{n}" in medians]
        median = f" (medians {', '.join(med)} ms)" if len(med) == len(sizes) else ""
        print(f"{name}: {times}{median}; ratios {', '.join(parts)}: {verdict(ok and len(sizes) == 4)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
