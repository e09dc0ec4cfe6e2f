"""What the tests of the command-line tools share: failures gathered rather
than stopping at the first, a program run with its output captured, JSON
documents checked against their schemas, the example catalogue built, and
the closing summary."""

import json
import os
import shutil
import subprocess

import jsonschema

HERE = os.path.dirname(os.path.abspath(__file__))
REPORT_SCHEMA = os.path.join(HERE, "..", "..", "tools", "zrcheck", "report-schema.json")
SARIF_SCHEMA = os.path.join(HERE, "sarif", "sarif-schema-2.1.0.json")
JUNIT_SCHEMA = os.path.join(HERE, "junit", "junit.xsd")

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def runner(program, timeout=120):
    """run(*args, cwd=, stdin=, env=): the program with its output as text."""
    def run(*args, cwd=None, stdin=None, env=None):
        return subprocess.run([program, *args], capture_output=True, text=True, timeout=timeout, cwd=cwd,
                              input=stdin, env=env)
    return run


def valid_document(result, what, schema_path=REPORT_SCHEMA, sarif=False):
    """The JSON document a run printed, checked against a schema (the SARIF
    one is draft 4 with formats); None, and a failure, when it is no JSON."""
    try:
        document = json.loads(result.stdout)
    except json.JSONDecodeError:
        failures.append(f"{what}: no JSON (exit {result.returncode}): {result.stderr[:300]}")
        return None
    with open(schema_path) as f:
        schema = json.load(f)
    validator = (jsonschema.Draft4Validator(schema, format_checker=jsonschema.FormatChecker()) if sarif
                 else jsonschema.Draft202012Validator(schema))
    errors = list(validator.iter_errors(document))
    expect(not errors, f"{what}: does not follow its schema: {[e.message[:200] for e in errors[:3]]}")
    return document


def fresh_folder(work):
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)


def build_catalogue(examples, path):
    """The example catalogue as an SQLite file at path."""
    subprocess.run(["bash", os.path.join(examples, "catalogue", "build-sqlite.sh"), path], check=True,
                   capture_output=True)
    return path


def finish(name):
    """Prints the failures and the summary; the exit status."""
    for f in failures:
        print("FAIL:", f)
    print(f"{name}: {'all checks passed' if not failures else str(len(failures)) + ' failure(s)'}")
    return 1 if failures else 0
