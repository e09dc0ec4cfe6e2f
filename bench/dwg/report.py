#!/usr/bin/python3
"""Times the tools as processes beside the anchor, in one run, and prints each
target met or not.

    report.py --bin BIN --work WORK [--runs 7] [--pins-bench PINS_BENCH --rounds 3] [PINS.json]

WORK holds what bench/dwg/run.sh makes: catalogue.db, own/pins_N.dxf (the
project's own drawing, no findings) and findings/pins_N.dxf (every second
connector drawn wrong, about one finding per connector) for N = 25,000 to
200,000 symbols. BIN holds zrdxf, zrcheck and dxflib_parse (dxflib's parse of
the same file, the anchor). PINS.json: pins_bench's Google Benchmark results
on findings/ (the name listing and the pin check in-process at four sizes),
the first of the in-process rounds; PINS_BENCH makes the others.

Every figure is a whole process, waited for with wait4: user + system time
(all threads), the wall clock, and the peak resident memory. The peak is
the one GNU time reports for the command it forks: a process spawned from
this one starts its ru_maxrss at this interpreter's own peak (the kernel
carries the high-water mark of the memory the child shared until its exec),
which would hide a command smaller than the interpreter.
Commands compared are run in turn, A B A B ..., after one warm-up each, and
each figure is the median of the runs (a ratio: the median of the ratios pair
by pair), so a busy spell of a shared machine touches both alike. The
scaling runs every size in turn, in each round, and takes the median of the
rounds' own ratios per doubling, for the same reason. The in-process rounds
(single-threaded) are each held to one processor, the next one in turn: the
processors of a shared machine run apart at times, and a thread the
scheduler moves between them would time some sizes on one and some on the
other.

Targets:
- zrcheck --json on the 200,000-symbol drawing with findings: at most 0.4 s
  wall, peak at most 1.3 x the file;
- zrdxf info: at least 12 x faster than dxflib's parse in user + system
  time, peak at most 1.2 x the file;
- at most 2.1 x per doubling from 25,000 to 200,000 symbols for the load
  (zrdxf info), the pin check and the name listing (pins_bench) and the
  report (zrcheck --json, the whole run);
- 16 drawings of 25,000 symbols: zrcheck -j 2 at least 1.8 x faster than
  -j 1 in wall clock, -j 1 held to each of two processors in turn and the
  one that ran it faster taken (the medians; where taskset is; -j 1 left
  to the scheduler is printed beside). Beside it, a -j 1 run of 8 of the
  drawings held to each processor in turn, among the pairs: how far apart
  the processors ran; and the same run on two processors at once, one on
  each: how much longer each takes beside the other than alone, the
  machine's own bound on -j 2.
The drawing without findings gets the same figures and is held to the
same targets.
Each line ends with "met" or "NOT MET"; nothing is hidden when a target is missed.
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SIZES = (25000, 50000, 100000, 200000)


def run_once(argv):
    """Runs argv with its output thrown away; returns (user + system s, wall
    s, peak bytes, exit status)."""
    with open(os.devnull, "wb") as null, tempfile.NamedTemporaryFile("r") as peak:
        timed = ["/usr/bin/time", "-f", "%M", "-o", peak.name] + argv
        start = time.perf_counter()
        pid = os.posix_spawn(timed[0], timed, os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, null.fileno(), 1)])
        _, status, usage = os.wait4(pid, 0)
        wall = time.perf_counter() - start
        kib = int(peak.read().split()[-1])
    return usage.ru_utime + usage.ru_stime, wall, kib * 1024, os.waitstatus_to_exitcode(status)


def checked(argv, code):
    """Stops the report when a command did not run to its end (zrcheck's 1
    is findings)."""
    if code not in (0, 1):
        raise SystemExit(f"report.py: {' '.join(argv)} exited {code}")


class Runs:
    """The runs of one command: cpu, wall and peak of each."""

    def __init__(self, name, argv):
        self.name, self.argv = name, argv
        self.cpu, self.wall, self.peak = [], [], []

    def warm(self):
        run_once(self.argv)

    def once(self):
        cpu, wall, peak, code = run_once(self.argv)
        checked(self.argv, code)
        self.cpu.append(cpu)
        self.wall.append(wall)
        self.peak.append(peak)

    def median(self, what):
        return statistics.median(getattr(self, what))


class SideBySide:
    """A command started on several processors at once, one run held to each
    (taskset), each run timed on its own: what it costs with the other
    processors as busy as it, beside the same command alone."""

    def __init__(self, argv, processors):
        self.argv, self.processors = argv, processors
        self.wall = {p: [] for p in processors}

    def warm(self):
        self.run()

    def once(self):
        for p, wall in self.run().items():
            self.wall[p].append(wall)

    def run(self):
        with open(os.devnull, "wb") as null:
            start = time.perf_counter()
            pids = {os.posix_spawn("/usr/bin/taskset", ["taskset", "-c", str(p)] + self.argv, os.environ,
                                   file_actions=[(os.POSIX_SPAWN_DUP2, null.fileno(), 1)]): p
                    for p in self.processors}
            walls = {}
            while pids:
                pid, status = os.wait()
                walls[pids.pop(pid)] = time.perf_counter() - start
                checked(self.argv, os.waitstatus_to_exitcode(status))
        return walls


def paired(runs, count):
    """Each command once unrecorded, then count rounds of each in turn."""
    for r in runs:
        r.warm()
    for _ in range(count):
        for r in runs:
            r.once()


def ratio(a, b, what):
    """The median of b's figure over a's, run for run."""
    return statistics.median(y / x for x, y in zip(getattr(a, what), getattr(b, what)))


def verdict(ok):
    return "met" if ok else "NOT MET"


def mib(n):
    return n / (1 << 20)


def drawing_figures(label, path, bin_dir, catalogue, count):
    """zrdxf info, dxflib's parse and zrcheck --json on one drawing, paired."""
    size = os.path.getsize(path)
    info = Runs("zrdxf info", [f"{bin_dir}/zrdxf", "info", path])
    anchor = Runs("dxflib parse", [f"{bin_dir}/dxflib_parse", path])
    check = Runs("zrcheck --json", [f"{bin_dir}/zrcheck", "--catalogue", catalogue, "--json", "-o", "/dev/null",
                                    path])
    paired([info, anchor, check], count)
    print(f"== {label}: {path} ({size / 1e6:.1f} MB; median of {count} runs, whole processes)")
    print(f"{'':16} {'user+sys s':>10} {'wall s':>8} {'peak MiB':>9} {'peak/file':>9}")
    for r in (info, anchor, check):
        print(f"{r.name:16} {r.median('cpu'):10.3f} {r.median('wall'):8.3f} {mib(r.median('peak')):9.0f} "
              f"{r.median('peak') / size:9.2f}")
    faster = ratio(info, anchor, "cpu")
    lines = [
        (f"zrdxf info {faster:.1f} x faster than dxflib's parse in user + system time (target >= 12)", faster >= 12),
        (f"zrdxf info peak {info.median('peak') / size:.2f} x the file (target <= 1.2)",
         info.median("peak") <= 1.2 * size),
        (f"zrcheck --json {check.median('wall'):.3f} s wall, {check.median('cpu'):.3f} s user + system "
         f"(target <= 0.4 s wall)", check.median("wall") <= 0.4),
        (f"zrcheck --json peak {check.median('peak') / size:.2f} x the file (target <= 1.3)",
         check.median("peak") <= 1.3 * size),
    ]
    for text, ok in lines:
        print(f"  {text}: {verdict(ok)}")
    return all(ok for _, ok in lines)


def in_process(paths):
    """Google Benchmark results by "BM_Name/N": the median of the
    repetitions (the run itself when not repeated), in seconds."""
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    found = {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            for b in json.load(f).get("benchmarks", []):
                if b.get("error_occurred"):
                    continue
                parts = b.get("run_name", b["name"]).split("/")
                name = "/".join([parts[0]] + [p for p in parts[1:] if p.isdigit()])
                if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
                    continue
                if b.get("run_type") == "aggregate" or name not in found:
                    found[name] = b["cpu_time"] * scale[b.get("time_unit", "ns")]
    return found


def in_process_rounds(pins, pins_bench, work, rounds):
    """The in-process results of each round: those given (pins, taken on the
    first processor this may run on), then pins_bench run again until there
    are `rounds` of them, each round timing every size within a few seconds
    of the others, held to one processor: the next one in turn each round."""
    found = [pins] if pins else []
    processors = sorted(os.sched_getaffinity(0))
    while pins_bench and len(found) < rounds:
        held = ["taskset", "-c", str(processors[len(found) % len(processors)])] if shutil.which("taskset") else []
        with tempfile.NamedTemporaryFile("r", suffix=".json") as out:
            done = subprocess.run(held + [pins_bench, "--benchmark_filter=BM_NameListing|BM_PinCheck",
                                          f"--benchmark_out={out.name}", "--benchmark_out_format=json"],
                                  capture_output=True, text=True, env=dict(os.environ, ZR_BENCH_DIR=f"{work}/findings"))
            if done.returncode != 0:
                raise SystemExit(f"report.py: {pins_bench} exited {done.returncode}: {done.stderr.strip()}")
            found.append(in_process([out.name]))
    return found


def per_doubling(rounds):
    """rounds: the times by size of each round. The median time of each size,
    and for each doubling the median of the rounds' own ratios: every round
    times all sizes in turn, so a busy spell of the machine touches the sizes
    it compares alike."""
    times = {n: statistics.median(r[n] for r in rounds) for n in SIZES}
    ratios = [statistics.median(r[b] / r[a] for r in rounds) for a, b in zip(SIZES, SIZES[1:])]
    return times, ratios


def scaling(work, bin_dir, catalogue, count, rounds_in_process):
    """Per doubling of symbols on the drawings with findings."""
    load = {n: Runs("load", [f"{bin_dir}/zrdxf", "info", f"{work}/findings/pins_{n}.dxf"]) for n in SIZES}
    report = {n: Runs("report", [f"{bin_dir}/zrcheck", "--catalogue", catalogue, "--json", "-o", "/dev/null",
                                 f"{work}/findings/pins_{n}.dxf"]) for n in SIZES}
    # Every size in turn in each round, so that each round's ratios compare
    # runs a moment apart.
    paired([load[n] for n in SIZES] + [report[n] for n in SIZES], count)
    series = {
        "load (zrdxf info)": [{n: load[n].cpu[i] for n in SIZES} for i in range(count)],
        "report (zrcheck --json)": [{n: report[n].cpu[i] for n in SIZES} for i in range(count)],
    }
    for label, bm in (("check (pin check, in-process)", "BM_PinCheck"),
                      ("listing (name listing, in-process)", "BM_NameListing")):
        series[label] = [{n: r[f"{bm}/{n}"] for n in SIZES if f"{bm}/{n}" in r} for r in rounds_in_process]
    print(f"== Scaling on the drawings with findings, 25,000 to 200,000 symbols (user + system; the median of "
          f"{count} rounds, {len(rounds_in_process)} in-process, each timing every size in turn, held to one processor; "
          f"per doubling the median of the rounds' own ratios)")
    met = True
    for label, rounds in series.items():
        if not rounds or any(len(r) != len(SIZES) for r in rounds):
            print(f"  {label}: not every size in every round: NOT MET")
            met = False
            continue
        times, ratios = per_doubling(rounds)
        ok = max(ratios) <= 2.1
        met = met and ok
        shown = ", ".join(f"{times[n] * 1000:.1f}" for n in SIZES)
        print(f"  {label}: {shown} ms; per doubling {', '.join(f'{r:.2f}' for r in ratios)} (target <= 2.1): "
              f"{verdict(ok)}")
    return met


def parallel(work, bin_dir, catalogue, count):
    """16 drawings of 25,000 symbols, -j 1 against -j 2."""
    folder = f"{work}/sixteen"
    os.makedirs(folder, exist_ok=True)
    drawings = []
    for i in range(1, 17):
        link = f"{folder}/sheet{i:02d}.dxf"
        if not os.path.lexists(link):
            os.symlink(os.path.abspath(f"{work}/findings/pins_25000.dxf"), link)
        drawings.append(link)
    base = [f"{bin_dir}/zrcheck", "--catalogue", catalogue, "--json", "-o", "/dev/null"]
    one = Runs("-j 1", base + ["-j", "1"] + drawings)
    two = Runs("-j 2", base + ["-j", "2"] + drawings)
    # The same -j 1 run of four drawings held to each processor in turn,
    # among the pairs: on a shared machine one processor may run slower than
    # the other for a while (a neighbour on its core), which holds -j 2 back
    # and not -j 1 (taskset, from util-linux).
    # The same again with two processors busy: a -j 1 run on each at once.
    # They share nothing but the machine, so how much longer each takes than
    # alone is the machine's own cost of running two drawings at once, which
    # -j 2 cannot avoid: it bounds -j 2 at 2 / (side by side / alone).
    processors = sorted(os.sched_getaffinity(0))[:8] if shutil.which("taskset") else []
    half = base + ["-j", "1"] + drawings[:8]
    probes = [Runs(f"on processor {p}", ["taskset", "-c", str(p)] + half) for p in processors]
    together = SideBySide(half, processors[:2]) if len(processors) > 1 else None
    # -j 1 held to each of the first two processors too. -j 1 left to the
    # scheduler runs on either, and when one runs slower for a while the
    # ratio moves by as much as they differ, up or down; the target takes
    # -j 1 on the processor that ran it faster (the median of its runs, not
    # the faster of each round, which would pick each round's luckier run):
    # -j 2 against the best one processor did.
    held = [Runs(f"-j 1 on processor {p}", ["taskset", "-c", str(p)] + base + ["-j", "1"] + drawings)
            for p in processors[:2]] if len(processors) > 1 else []
    paired([one, two] + held + probes + ([together] if together else []), count)
    if held:
        faster = min(h.median("wall") for h in held) / two.median("wall")
    else:
        faster = ratio(two, one, "wall")
    print(f"== 16 drawings of 25,000 symbols with findings (median of {count} pairs)")
    for r in [one, two] + held:
        print(f"  zrcheck {r.name}: {r.median('wall'):.3f} s wall, {r.median('cpu'):.3f} s user + system, "
              f"peak {mib(r.median('peak')):.0f} MiB")
    if probes:
        print("  the processors, each alone, -j 1 on 8 of the drawings (median; slowest over fastest, run by run, "
              f"{max(max(t) / min(t) for t in zip(*(p.wall for p in probes))):.2f} x at worst): " +
              ", ".join(f"{p.name} {p.median('wall'):.3f} s" for p in probes))
    if together:
        # Each processor's run beside the other's, over the same run alone
        # in the same round.
        slower = statistics.median(side / alone for p in together.processors
                                   for side, alone in zip(together.wall[p], probes[processors.index(p)].wall))
        print(f"  the same, one on each processor at once: each {slower:.2f} x its time alone (median), "
              f"so -j 2 can reach at most {2 / slower:.2f} x on this machine")
    if held:
        print(f"  -j 2 {ratio(two, one, 'wall'):.2f} x faster than -j 1 where the scheduler put it")
    against = "-j 1 on the processor that ran it faster" if held else "-j 1"
    print(f"  -j 2 {faster:.2f} x faster than {against} in wall clock on {os.cpu_count()} processors "
          f"(target >= 1.8): {verdict(faster >= 1.8)}")
    return faster >= 1.8


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--bin", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--pins-bench", help="pins_bench, run again for the in-process rounds")
    parser.add_argument("--rounds", type=int, default=3, help="rounds of the in-process figures")
    parser.add_argument("results", nargs="*", help="pins_bench's JSON results on the drawings with findings")
    args = parser.parse_args(argv[1:])
    catalogue = f"{args.work}/catalogue.db"
    met = drawing_figures("With findings", f"{args.work}/findings/pins_200000.dxf", args.bin, catalogue, args.runs)
    print()
    met = drawing_figures("The project's own (no findings)", f"{args.work}/own/pins_200000.dxf", args.bin,
                          catalogue, args.runs) and met
    print()
    rounds = in_process_rounds(in_process(args.results), args.pins_bench, args.work, args.rounds)
    met = scaling(args.work, args.bin, catalogue, args.runs, rounds) and met
    print()
    met = parallel(args.work, args.bin, catalogue, args.runs) and met
    print()
    print("All targets met" if met else "Some targets NOT MET (above)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
