"""Running zrhost for a long session and judging the run: the example
catalogue, settings and suite script as the program uses them, the sanitizer
reports looked for, and the figures that the soak script prints read back."""

import os
import re
import shutil
import subprocess

# The sanitizers of the test build print these when they find a fault; the
# leak checker runs at exit, after the script is done, so its report is the
# last thing on standard error.
SANITIZER_MARKERS = (
    "ERROR: LeakSanitizer",
    "ERROR: AddressSanitizer",
    "runtime error:",
)

# The soak's line of figures after a round (see soak.scm).
FIGURES = re.compile(
    r"^soak: round (\d+) documents (\d+) calls (\d+) resident-calls (\d+) rss-kb (\d+) peak-kb (\d+) "
    r"open-files (\d+)$", re.M)


def asan_options(extra):
    """ASAN_OPTIONS with the leak checker on and the given options, keeping
    what the environment already sets unless overridden here."""
    options = {}
    for item in os.environ.get("ASAN_OPTIONS", "").split(":"):
        if "=" in item:
            key, value = item.split("=", 1)
            options[key] = value
    options["detect_leaks"] = "1"
    options.update(extra)
    return ":".join(f"{k}={v}" for k, v in options.items())


def file_settings(work, name):
    """The [database] settings of a file catalogue named `name` in `work`."""
    return {"data_folder": work + "/", "type": "MDB", "name": name}


def server_settings(connection):
    """The [database] settings of the catalogue server that a libpq-style
    connection text names ("host=... port=... dbname=... user=...
    password=..."), as the throwaway test server exports it."""
    fields = dict(item.split("=", 1) for item in connection.split() if "=" in item)
    return {"data_folder": "", "type": "SQL", "name": fields.get("dbname", ""),
            "server": f"{fields.get('host', '127.0.0.1')},{fields.get('port', '5432')}",
            "user": fields.get("user", ""), "password": fields.get("password", "")}


def prepare_folder(examples, work, copies, settings=None):
    """A fresh folder with the example file catalogue (catalogo.db), a
    settings file (`settings`, by default that file catalogue) and `copies`
    copies of the example drawing; returns the drawings' paths."""
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    subprocess.run(["bash", os.path.join(examples, "catalogue", "build-sqlite.sh"),
                    os.path.join(work, "catalogo.db")], check=True, capture_output=True)
    with open(os.path.join(work, "zrsoak.ini"), "w") as f:
        f.write("[database]\n")
        for key, value in (settings or file_settings(work, "catalogo.db")).items():
            f.write(f"{key} = {value}\n")
    drawings = []
    for i in range(copies):
        path = os.path.join(work, f"drawing-{i + 1:03d}.dxf")
        shutil.copy(os.path.join(examples, "drawing.dxf"), path)
        drawings.append(path)
    return drawings


def run_zrhost(zrhost, args, work, asan, timeout):
    """Runs zrhost with the settings of the folder `work` and the given ASan
    options; returns the completed process (text output)."""
    env = dict(os.environ, ZR_SETTINGS_DIR=work, ASAN_OPTIONS=asan_options(asan), HOME=work)
    env.pop("ZRHOST_MODULE", None)
    return subprocess.run([zrhost, "--program", "zrsoak"] + args, capture_output=True, text=True, env=env,
                          stdin=subprocess.DEVNULL, timeout=timeout, cwd=work)


def sanitizer_problems(run):
    """What is wrong with a finished run: a failing exit status, a sanitizer
    report on standard error. Empty when the run is clean."""
    problems = []
    if run.returncode != 0:
        problems.append(f"zrhost exited with status {run.returncode}")
    for marker in SANITIZER_MARKERS:
        if marker in run.stderr:
            problems.append(f"standard error holds a sanitizer report ({marker})")
    return problems


def scheme_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def figures(stdout):
    """The rounds' figures as dictionaries, in order."""
    keys = ("round", "documents", "calls", "resident_calls", "rss_kb", "peak_kb", "open_files")
    return [dict(zip(keys, map(int, m.groups()))) for m in FIGURES.finditer(stdout)]
