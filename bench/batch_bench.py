#!/usr/bin/env python3
"""Records per second of batch runs on JSON Lines corpora:

- abrivo-cli --jsonl with -j 1 and -j 2 (the -j 2 row only when abrivo-cli
  has --jobs), from the corpus file to /dev/null;
- the Python module: abrivo.summarise(...).to_dict() on one thread, and
  abrivo.summarise_many with jobs=1 and jobs=2, on records parsed beforehand.

Each measure is the best of --repeat runs: records per second of wall time,
and records per second of CPU time (user and system time of abrivo-cli, or
of this process), which depends less on other load of the machine. Prints
a Markdown table of the measures and one of the targets; the targets use
wall time.

    PYTHONPATH=build/bench/python bench/batch_bench.py --cli build/bench/cli/abrivo-cli \\
        zh=corpus/zh.jsonl en=corpus/en.jsonl
"""

import argparse
import json
import os
import resource
import subprocess
import sys
import time

import abrivo


def cpu_seconds():
    """CPU time of this process and of its finished children."""
    own = time.process_time()
    children = resource.getrusage(resource.RUSAGE_CHILDREN)
    return own + children.ru_utime + children.ru_stime


def best_of(repeat, run):
    """The shortest wall time and the shortest CPU time of repeat runs."""
    walls, cpus = [], []
    for _ in range(repeat):
        cpu = cpu_seconds()
        start = time.perf_counter()
        run()
        walls.append(time.perf_counter() - start)
        cpus.append(cpu_seconds() - cpu)
    return min(walls), min(cpus)


def cli_has_jobs(cli):
    shown = subprocess.run([cli, "--help"], capture_output=True, text=True).stdout
    return "--jobs" in shown


def measure(cli, corpus, repeat, jobs_option):
    with open(corpus, encoding="utf-8") as f:
        records = [json.loads(line) for line in f if line.strip()]
    count = len(records)
    rates = {}  # measure: (records per wall second, records per CPU second)

    def rate(times):
        return count / times[0], count / times[1]

    def run_cli(jobs):
        options = ["-j", str(jobs)] if jobs_option else []
        with open(corpus, "rb") as stdin, open(os.devnull, "wb") as stdout:
            subprocess.run([cli, "--jsonl", *options], stdin=stdin, stdout=stdout, check=True)

    rates["cli -j 1"] = rate(best_of(repeat, lambda: run_cli(1)))
    if jobs_option:
        rates["cli -j 2"] = rate(best_of(repeat, lambda: run_cli(2)))

    def one_thread():
        for r in records:
            abrivo.summarise(r["content"], r.get("title", ""), r.get("length", 0)).to_dict()

    rates["python summarise"] = rate(best_of(repeat, one_thread))
    for jobs in (1, 2):
        rates[f"python summarise_many jobs={jobs}"] = rate(best_of(
            repeat, lambda: sum(1 for _ in abrivo.summarise_many(records, jobs=jobs))))
    return count, rates


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cli", required=True, help="the abrivo-cli to measure")
    parser.add_argument("--repeat", type=int, default=3, help="runs per measure (default 3)")
    parser.add_argument("corpora", nargs="+", metavar="LANG=FILE")
    args = parser.parse_args()

    jobs_option = cli_has_jobs(args.cli)
    results = {}
    for item in args.corpora:
        lang, _, path = item.partition("=")
        count, rates = measure(args.cli, path, args.repeat, jobs_option)
        results[lang] = rates
        print(f"{lang}: {count} records, " +
              ", ".join(f"{k} {v[0]:.0f}/s" for k, v in rates.items()), file=sys.stderr)

    names = list(next(iter(results.values())))
    print("| Records per second | " +
          " | ".join(f"{lang} | {lang} per CPU second" for lang in results) + " |")
    print("|---|" + "---:|---:|" * len(results))
    for name in names:
        print(f"| {name} | " + " | ".join(
            f"{r[name][0]:.0f} | {r[name][1]:.0f}" for r in results.values()) + " |")

    print()
    print("| Target | Measured | Met |")
    print("|---|---:|---|")

    def row(label, value, limit, unit):
        shown = f"{value:.2f}x" if unit == "x" else f"{value:.0f}/s"
        print(f"| {label} | {shown} | {'yes' if value >= limit else '**no**'} |")

    results = {lang: {k: v[0] for k, v in r.items()} for lang, r in results.items()}
    for lang, r in results.items():
        if "cli -j 2" in r:
            row(f"{lang}: -j 2 at least 1.8 times -j 1", r["cli -j 2"] / r["cli -j 1"], 1.8, "x")
        else:
            print(f"| {lang}: -j 2 at least 1.8 times -j 1 | abrivo-cli has no --jobs | |")
    if "zh" in results:
        row("zh: at least 4,000 articles a second on one core (-j 1)",
            results["zh"]["cli -j 1"], 4000, "/s")
    for lang, r in results.items():
        row(f"{lang}: Python summarise at least 0.9 times cli -j 1",
            r["python summarise"] / r["cli -j 1"], 0.9, "x")
        if "cli -j 2" in r:
            row(f"{lang}: summarise_many jobs=2 at least 0.9 times cli -j 2",
                r["python summarise_many jobs=2"] / r["cli -j 2"], 0.9, "x")


if __name__ == "__main__":
    main()
