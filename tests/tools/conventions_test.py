#!/usr/bin/python3
"""The command-line conventions every program of the project keeps, checked
the same way on each: --help and -h on standard output with exit 0, --version,
usage errors on standard error with exit 2, and output that cannot be written
(a full disk, a closed pipe) ending with exit 2, never 0; -o into a pipe or
a device writes into it and never replaces it; the libraries a program loads
never taken from the current folder.

    conventions_test.py WORKDIR TOOL=PATH...

TOOL is zrcheck, zrdxf or zrhost; the table below says how each is run."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tool_check import build_catalogue, expect, finish  # noqa: E402


def run(argv, stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, env=None):
    return subprocess.run(argv, stdout=stdout, stderr=subprocess.PIPE, stdin=stdin, text=True, timeout=120, env=env)


def write_drawing(path):
    """A small valid DXF drawing without pin symbols."""
    import ezdxf
    doc = ezdxf.new("R2013")
    doc.modelspace().add_line((0, 0), (1, 1))
    doc.saveas(path)


def cases(work):
    """Per tool: a run that writes a report to standard output, and command
    lines that must be refused as usage errors."""
    drawing = os.path.join(work, "drawing.dxf")
    catalogue = os.path.join(work, "catalogo.db")
    return {
        "zrcheck": {
            "writes": ["--catalogue", catalogue, drawing],
            "refused": [[], ["--frobnicate", drawing], ["--catalogue"], ["--json=yes", drawing], ["-", "-"],
                        ["--attr-tag=", drawing], ["-x", drawing]],
            "usage_word": "DRAWING",
        },
        "zrdxf": {
            "writes": ["info", drawing],
            "refused": [[], ["info"], ["frobnicate", drawing], ["audit", "--frobnicate", drawing],
                        ["roundtrip", drawing], ["info", "-", "-"]],
            "usage_word": "info",
        },
        "zrhost": {
            "writes": ["--no-module", "--eval", '(display (make-string 100000 #\\x))', drawing],
            "refused": [["--frobnicate"], ["--program"], ["--program="], ["--no-module=yes"],
                        ["--no-module", "--module", "m.so"], ["-x"]],
            "usage_word": "--module",
        },
    }


def check_tool(name, path, case, work):
    # Help and version: standard output, exit 0, nothing on standard error.
    for flag in ("--help", "-h"):
        r = run([path, flag])
        expect(r.returncode == 0 and r.stderr == "" and case["usage_word"] in r.stdout,
               f"{name} {flag}: exit {r.returncode}, stderr {r.stderr!r}, stdout {r.stdout[:200]!r}")
    r = run([path, "--version"])
    expect(r.returncode == 0 and r.stdout.startswith(name + " ") and r.stdout.strip().split()[-1][0].isdigit(),
           f"{name} --version: exit {r.returncode}, {r.stdout!r}")

    # Started in a folder that holds files named like the libraries it loads
    # (which are not libraries), the program still runs: it looks for its
    # libraries in its own private folder and the system's, never in the
    # current folder.
    decoys = os.path.join(work, name + "-decoys")
    os.makedirs(decoys, exist_ok=True)
    libraries = [line.split()[0] for line in subprocess.run(["ldd", path], stdout=subprocess.PIPE, text=True).stdout
                 .splitlines() if ".so" in line and not line.split()[0].startswith("/")]
    expect(len(libraries) > 3, f"{name}: ldd found only {libraries}")
    for library in libraries:
        with open(os.path.join(decoys, library), "w") as decoy:
            decoy.write("not a library\n")
    r = subprocess.run([path, "--version"], cwd=decoys, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                       timeout=120)
    expect(r.returncode == 0 and r.stdout.startswith(name + " "),
           f"{name} --version in a folder of decoy libraries: exit {r.returncode}, stderr {r.stderr[:300]!r}")

    # Usage errors: standard error, exit 2, nothing on standard output.
    for args in case["refused"]:
        r = run([path, *args])
        expect(r.returncode == 2 and r.stdout == "" and r.stderr.startswith(name + ": "),
               f"{name} {args}: exit {r.returncode}, stdout {r.stdout[:200]!r}, stderr {r.stderr[:300]!r}")

    # The report really is written when it can be.
    r = run([path, *case["writes"]])
    expect(r.returncode in (0, 1) and r.stdout != "", f"{name} {case['writes']}: exit {r.returncode} {r.stderr}")

    # A full disk: exit 2 and the reason, for the report and for --help.
    for args in (case["writes"], ["--help"], ["--version"]):
        with open("/dev/full", "w") as full:
            r = run([path, *args], stdout=full)
        expect(r.returncode == 2 and "No space left on device" in r.stderr,
               f"{name} {args} > /dev/full: exit {r.returncode}, stderr {r.stderr[:300]!r}")

    # A closed pipe: the reader went away before the program wrote.
    read_end, write_end = os.pipe()
    os.close(read_end)
    try:
        r = run([path, *case["writes"]], stdout=write_end)
    finally:
        os.close(write_end)
    expect(r.returncode == 2 and "Broken pipe" in r.stderr,
           f"{name} into a closed pipe: exit {r.returncode}, stderr {r.stderr[:300]!r}")

    # -o naming a pipe or a device writes into it; it is never replaced by a
    # file (a report renamed over /dev/null would replace the device itself).
    if name != "zrhost":
        import stat
        import threading
        fifo = os.path.join(work, name + ".fifo")
        if os.path.exists(fifo):
            os.remove(fifo)
        os.mkfifo(fifo)
        received = []
        reader = threading.Thread(target=lambda: received.append(open(fifo, "rb").read()), daemon=True)
        reader.start()
        r = run([path, *case["writes"], "-o", fifo])
        reader.join(timeout=60)
        expect(r.returncode in (0, 1) and received and received[0] != b"" and stat.S_ISFIFO(os.stat(fifo).st_mode),
               f"{name} -o FIFO: exit {r.returncode}, received {received[:1]!r}, stderr {r.stderr[:300]!r}, "
               f"still a pipe: {stat.S_ISFIFO(os.stat(fifo).st_mode)}")
        leftovers = [f for f in os.listdir(work) if f.startswith(name + ".fifo.part")]
        expect(not leftovers, f"{name} -o FIFO left {leftovers}")


def main():
    work = sys.argv[1]
    tools = dict(arg.split("=", 1) for arg in sys.argv[2:])
    os.makedirs(work, exist_ok=True)
    write_drawing(os.path.join(work, "drawing.dxf"))
    build_catalogue(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples"),
                    os.path.join(work, "catalogo.db"))
    table = cases(work)
    for name, path in tools.items():
        check_tool(name, path, table[name], work)
    return finish("conventions")


if __name__ == "__main__":
    sys.exit(main())
