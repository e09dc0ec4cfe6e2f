"""What the zrhost tests of the module share: a fresh working folder with the
example catalogue, the program's settings and a copy of the example drawing,
and one run of zrhost with the module and the suite's script."""

import os
import shutil
import subprocess
import sys


def prepare(examples, work, program):
    """Makes `work` anew with the example catalogue (SQLite), the settings file
    of `program` pointing at it and a copy of the example drawing, whose path
    it returns."""
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    subprocess.run(["bash", os.path.join(examples, "catalogue", "build-sqlite.sh"), os.path.join(work, "catalogo.db")],
                   check=True, capture_output=True)
    with open(os.path.join(work, f"{program}.ini"), "w") as f:
        f.write(f"[database]\ndata_folder = {work}/\ntype = MDB\nname = catalogo.db\n")
    drawing = os.path.join(work, "drawing.dxf")
    shutil.copy(os.path.join(examples, "drawing.dxf"), drawing)
    return drawing


def write_script(work, name, text):
    """Writes a script into `work`; returns its path."""
    path = os.path.join(work, name)
    with open(path, "w") as f:
        f.write(text)
    return path


def run_zrhost(zrhost, module, examples, work, program, script, drawing, **env):
    """Runs zrhost as `program` with the module, the suite's script and
    `script` on `drawing`, settings from `work` and `env` added; prints what it
    printed and returns the finished process."""
    run = subprocess.run([zrhost, "--program", program, "--module", module,
                          "--load", os.path.join(examples, "suite.scm"), "--script", script, drawing],
                         capture_output=True, text=True, env=dict(os.environ, ZR_SETTINGS_DIR=work, **env),
                         stdin=subprocess.DEVNULL, timeout=300)
    print(run.stdout)
    print(run.stderr, file=sys.stderr)
    return run


def ended_with(run, marker):
    """True when zrhost succeeded and printed `marker`; says why not."""
    if run.returncode != 0 or marker not in run.stdout:
        print(f"zrhost failed with {run.returncode}")
        return False
    return True
