"""Scale-out recipes run on this machine: the Dask example on a local
cluster of two worker processes, and the README's GNU parallel recipe.
Both must give what one abrivo-cli --jsonl gives."""

import glob
import json
import os
import re
import subprocess
import sys


from conftest import ROOT, load_samples, write_jsonl

EXAMPLE = ROOT / "examples" / "dask_summarise.py"


def records(cases):
    """Some three hundred records with ids: every conformance case at three
    lengths, the samples, and records that are refused."""
    out = []
    for case in cases:
        for length in (-1, 1, 3):
            out.append({"id": f"{case['id']}/{length}", "title": case["title"],
                        "content": case["content"], "length": length})
    out += load_samples()
    out += [{"id": "no-content"}, {"id": "bad-length", "content": "x", "length": 9}]
    return out


def by_id(lines):
    results = [json.loads(line) for line in lines if line.strip()]
    keyed = {r["id"]: r for r in results if r["id"] is not None}
    return keyed, [r for r in results if r["id"] is None]


def test_dask_example_on_a_local_cluster_gives_what_abrivo_cli_gives(cases, cli, tmp_path):
    from distributed import Client, LocalCluster

    corpus = records(cases)
    inputs = tmp_path / "in"
    inputs.mkdir()
    thirds = [corpus[0::3], corpus[1::3], corpus[2::3]]
    for n, part in enumerate(thirds):
        write_jsonl(inputs / f"part{n}.jsonl", part)
    # A line that is not JSON and a blank line, in the middle of a file.
    with open(inputs / "part1.jsonl", "a", encoding="utf-8") as f:
        f.write('{"id": "unfinished", "content": \n\n')
    write_jsonl(inputs / "tail.jsonl", [{"id": "after", "content": "The tree is green."}])

    all_lines = "".join(p.read_text(encoding="utf-8") for p in sorted(inputs.iterdir()))
    expected = subprocess.run([cli, "--jsonl"], input=all_lines, capture_output=True,
                              text=True, encoding="utf-8", check=True).stdout.splitlines()

    out = tmp_path / "out"
    cluster = LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                           host="127.0.0.1", dashboard_address=None)
    try:
        with Client(cluster) as client:
            assert len(client.scheduler_info()["workers"]) == 2
            subprocess.run([sys.executable, str(EXAMPLE), str(inputs / "*.jsonl"), str(out),
                            "--scheduler", cluster.scheduler_address, "--blocksize", "64KiB"],
                           check=True, timeout=600)
    finally:
        cluster.close()

    parts = sorted(glob.glob(str(out / "part-*.jsonl")))
    assert len(parts) > 4  # several partitions, spread over both workers
    actual_lines = [line for p in parts for line in open(p, encoding="utf-8")]
    actual, actual_unparsable = by_id(actual_lines)
    wanted, wanted_unparsable = by_id(expected)
    assert len(actual_lines) == len(expected) == len(corpus) + 2
    assert actual.keys() == wanted.keys()
    for key in wanted:
        assert actual[key] == wanted[key], key
    assert [r["error"].split(" (")[0] for r in actual_unparsable] == \
        [r["error"].split(" (")[0] for r in wanted_unparsable] == ["not valid JSON"]


def readme_parallel_recipe():
    """The one-machine GNU parallel command of the README."""
    readme = (ROOT / "README.md").read_text(encoding="utf-8")
    commands = [line for line in readme.splitlines() if line.startswith("parallel --pipe")]
    assert commands, "the README has no GNU parallel recipe"
    return commands[0]


def test_readme_gnu_parallel_recipe_gives_what_abrivo_cli_gives(cases, cli, tmp_path):
    command = readme_parallel_recipe()
    assert re.search(r"-N 1000\b", command) and "abrivo-cli --jsonl" in command
    # Blocks of 40 records instead of 1000, so that the records are spread
    # over several abrivo-cli processes; abrivo-cli is the built one.
    command = command.replace("-N 1000", "-N 40").replace("abrivo-cli", cli)
    write_jsonl(tmp_path / "articles.jsonl", records(cases))
    env = dict(os.environ, PARALLEL_HOME=str(tmp_path / ".parallel"))
    subprocess.run(["bash", "-c", command], cwd=tmp_path, env=env, check=True, timeout=600,
                   stdin=subprocess.DEVNULL)
    whole = subprocess.run(f"{cli} --jsonl < articles.jsonl", shell=True, cwd=tmp_path,
                           capture_output=True, check=True).stdout
    produced = (tmp_path / "summaries.jsonl").read_bytes()
    assert produced.count(b"\n") == len(records(cases))
    assert produced == whole
