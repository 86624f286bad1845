"""Shared fixtures of the Python tests: the built abrivo-cli and the
conformance cases. tools/test-python.sh sets ABRIVO_CLI and puts the built
package on PYTHONPATH."""

import json
import os
import pathlib
import subprocess

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
CONFORMANCE = ROOT / "tests" / "data" / "conformance.jsonl"
SAMPLES = ROOT / "samples"


def load_cases():
    with CONFORMANCE.open(encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.strip()]


def load_samples():
    """The three built-in headline and article pairs."""
    return [
        {
            "id": f"sample-{n}",
            "title": (SAMPLES / f"{n}-title.txt").read_text(encoding="utf-8").rstrip("\n"),
            "content": (SAMPLES / f"{n}-article.txt").read_text(encoding="utf-8"),
        }
        for n in (1, 2, 3)
    ]


@pytest.fixture(scope="session")
def cases():
    return load_cases()


@pytest.fixture(scope="session")
def cli():
    path = os.environ.get("ABRIVO_CLI")
    if not path or not os.access(path, os.X_OK):
        pytest.fail("ABRIVO_CLI must name the built abrivo-cli (tools/test-python.sh sets it)")
    return os.path.abspath(path)


def run_jsonl(cli, records, *options):
    """abrivo-cli --jsonl on records (dicts or raw lines); the parsed results."""
    lines = [r if isinstance(r, str) else json.dumps(r, ensure_ascii=False) for r in records]
    done = subprocess.run(
        [cli, "--jsonl", *options], input="\n".join(lines) + "\n",
        capture_output=True, text=True, encoding="utf-8", check=True)
    return [json.loads(line) for line in done.stdout.splitlines()]


def write_jsonl(path, records):
    with open(path, "w", encoding="utf-8") as f:
        for record in records:
            f.write(json.dumps(record, ensure_ascii=False) + "\n")
