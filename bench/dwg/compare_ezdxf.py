#!/usr/bin/python3
"""Load speed and memory of the C++ DXF reader next to ezdxf's readfile.

    compare_ezdxf.py BENCH_BINARY DRAWING.dxf [-- ARGS FOR THE BENCHMARK]

1. Reads DRAWING with ezdxf.readfile in a child process and reports its
   wall time, throughput (MB/s, 1 MB = 10^6 bytes) and the child's peak
   resident memory (resource.getrusage).
2. Runs BENCH_BINARY (Google Benchmark) with ZR_BENCH_DRAWING=DRAWING in
   its environment and any ARGS after "--", echoes its output, and reads
   its counters from the JSON report it is asked to write.
3. Prints the figures side by side: each benchmark's MB/s, its ratio to
   ezdxf, and memory counters next to the file size.

Standalone: needs only Python and, for step 1, ezdxf.
"""

import json
import os
import subprocess
import sys
import tempfile

EZDXF_CHILD = r"""
import json, resource, sys, time
import ezdxf
before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
start = time.perf_counter()
doc = ezdxf.readfile(sys.argv[1])
seconds = time.perf_counter() - start
peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
count = len(doc.modelspace())
print(json.dumps({"seconds": seconds, "peak_kib": peak, "baseline_kib": before,
                  "modelspace_entities": count}))
"""

LOAD_WORDS = ("load", "read")
MEMORY_WORDS = ("rss", "peak", "mem")


def run_ezdxf(drawing):
    """Times ezdxf.readfile in a fresh interpreter; returns its figures."""
    result = subprocess.run([sys.executable, "-c", EZDXF_CHILD, drawing],
                            capture_output=True, text=True)
    if result.returncode != 0:
        raise RuntimeError(f"ezdxf could not read {drawing}:\n{result.stderr}")
    return json.loads(result.stdout.strip().splitlines()[-1])


def run_benchmark(binary, drawing, extra):
    """Runs the Google Benchmark binary, echoing its output; returns the
    parsed JSON report (None if the binary failed)."""
    handle, report = tempfile.mkstemp(prefix="zr_bench_", suffix=".json")
    os.close(handle)
    env = dict(os.environ, ZR_BENCH_DRAWING=os.path.abspath(drawing))
    command = [binary] + extra + [f"--benchmark_out={report}", "--benchmark_out_format=json"]
    print("$ " + " ".join(command), flush=True)
    try:
        status = subprocess.run(command, env=env).returncode
        if status != 0:
            print(f"compare_ezdxf: {binary} exited with status {status}", file=sys.stderr)
            return None
        with open(report) as f:
            return json.load(f)
    finally:
        os.remove(report)


def throughput(entry):
    """MB/s of one benchmark entry: a counter named like "MB/s", or the
    bytes_per_second that SetBytesProcessed produces."""
    for key, value in entry.items():
        if "mb/s" in key.lower() or "mbps" in key.lower():
            return float(value)
    if "bytes_per_second" in entry:
        return float(entry["bytes_per_second"]) / 1e6
    return None


def memory_counters(entry):
    return {k: v for k, v in entry.items()
            if isinstance(v, (int, float)) and any(w in k.lower() for w in MEMORY_WORDS)}


def as_megabytes(name, value):
    """Counter value in MB when its name tells the unit, else None."""
    lowered = name.lower()
    if "mb" in lowered or "mib" in lowered:
        return float(value)
    if "kib" in lowered or "kb" in lowered:
        return float(value) * 1024 / 1e6
    if "byte" in lowered or lowered.endswith("_b"):
        return float(value) / 1e6
    return None


def print_comparison(drawing, ezdxf_figures, report):
    size_mb = os.path.getsize(drawing) / 1e6
    ez_rate = size_mb / ezdxf_figures["seconds"]
    ez_peak = ezdxf_figures["peak_kib"] * 1024 / 1e6
    ez_base = ezdxf_figures["baseline_kib"] * 1024 / 1e6
    print()
    print(f"Drawing: {drawing} ({size_mb:.1f} MB)")
    print(f"{'':32} {'MB/s':>10} {'x ezdxf':>9}   memory")
    print(f"{'ezdxf.readfile':32} {ez_rate:10.2f} {1.0:9.1f}   peak RSS {ez_peak:.0f} MB "
          f"({ez_peak / size_mb:.1f} x file; {ez_base:.0f} MB before reading; "
          f"{ezdxf_figures['seconds']:.1f} s, "
          f"{ezdxf_figures['modelspace_entities']} model space entities)")
    if report is None:
        print("(no C++ figures: the benchmark did not run)")
        return
    for entry in report.get("benchmarks", []):
        rate = throughput(entry)
        memory = memory_counters(entry)
        if rate is None and not memory:
            continue
        ratio = f"{rate / ez_rate:9.1f}" if rate else f"{'':9}"
        rate_text = f"{rate:10.2f}" if rate else f"{'':10}"
        notes = []
        for name, value in memory.items():
            mb = as_megabytes(name, value)
            notes.append(f"{name} {value:.6g}" + (f" ({mb / size_mb:.2f} x file)" if mb else ""))
        print(f"{entry['name'][:32]:32} {rate_text} {ratio}   {'; '.join(notes)}")
        if rate and any(w in entry["name"].lower() for w in LOAD_WORDS):
            print(f"{'':32} load is {rate / ez_rate:.1f} times ezdxf.readfile")


def main(argv):
    extra = []
    if "--" in argv:
        split = argv.index("--")
        argv, extra = argv[:split], argv[split + 1:]
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    binary, drawing = argv[1], argv[2]
    if not os.path.isfile(drawing):
        print(f"compare_ezdxf: no drawing {drawing} (make it with make_bench_drawing.py)",
              file=sys.stderr)
        return 2
    print(f"Reading {drawing} with ezdxf ...", flush=True)
    figures = run_ezdxf(drawing)
    report = run_benchmark(binary, drawing, extra)
    print_comparison(drawing, figures, report)
    return 0 if report is not None else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
