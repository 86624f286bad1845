#!/usr/bin/env python3
"""Summarises JSON Lines files on a Dask cluster.

    dask_summarise.py IN_GLOB OUT_DIR [--scheduler ADDRESS] [--blocksize SIZE] [--jobs N]

Every file that IN_GLOB matches holds records as abrivo-cli --jsonl reads
them, one a line: {"id": ..., "title": ..., "content": ..., "length": ...}.
The files are read into a dask bag, cut into partitions of about SIZE bytes
(default 16MiB) at line ends; every partition is summarised on a worker and
written to OUT_DIR/part-NNNNN.jsonl, one result line per record in input
order, the same results that abrivo-cli --jsonl gives for those lines. Give
every record an "id" to match results with records.

Without --scheduler, a cluster of one worker process per core starts on
this machine. With --scheduler tcp://HOST:8786, the work goes to a running
cluster, whose workers need the abrivo module installed:

    dask scheduler                                  # on one machine
    dask worker tcp://HOST:8786 --nthreads 4        # on every machine
    dask_summarise.py 'corpus/*.jsonl' summaries --scheduler tcp://HOST:8786

The input glob and OUT_DIR must be paths that every worker can reach (a
shared file system), or URLs of a storage that dask reads.
"""

import argparse
import json
import os
import sys

import abrivo

# abrivo-cli refuses records nested deeper than this before parsing them.
MAX_NESTING = 512


def nested_too_deeply(line):
    """Whether the line opens more than MAX_NESTING arrays and objects at
    once, counting brackets outside strings, as abrivo-cli counts them."""
    if line.count("[") + line.count("{") <= MAX_NESTING:
        return False
    depth = 0
    in_string = escaped = False
    for c in line:
        if in_string:
            if escaped:
                escaped = False
            elif c == "\\":
                escaped = True
            elif c == '"':
                in_string = False
        elif c == '"':
            in_string = True
        elif c in "[{":
            depth += 1
            if depth > MAX_NESTING:
                return True
        elif c in "]}":
            depth -= 1
    return False


class Unparsable:
    """The result line of a line that is not JSON."""

    def __init__(self, message):
        self.result = {"id": None, "error": message}


def parse(line):
    """The record on a line, or Unparsable with the line's result."""
    try:
        line.encode("utf-8")
    except UnicodeEncodeError as e:  # bytes that are not UTF-8, read as surrogates
        offset = len(line[:e.start].encode("utf-8", "surrogateescape"))
        return Unparsable(f"not valid JSON (at byte {offset})")
    if nested_too_deeply(line):
        return Unparsable(f"the record is nested more than {MAX_NESTING} levels deep")
    try:
        return json.loads(line)
    except (ValueError, RecursionError) as e:
        offset = len(line[:getattr(e, "pos", 0)].encode("utf-8"))
        return Unparsable(f"not valid JSON (at byte {offset})")


def summarise_lines(lines, jobs=1):
    """The result lines of one partition's lines; blank lines are skipped.
    The records run through abrivo.summarise_many, which refuses what
    abrivo-cli refuses."""
    parsed = [parse(line) for line in lines if line.strip(" \t\r\n")]
    records = (item for item in parsed if not isinstance(item, Unparsable))
    results = abrivo.summarise_many(records, jobs=jobs)
    return [
        json.dumps(item.result if isinstance(item, Unparsable) else next(results),
                   ensure_ascii=False, separators=(",", ":"))
        for item in parsed
    ]


def main(argv=None):
    parser = argparse.ArgumentParser(
        description="Summarise JSON Lines files on a Dask cluster, as abrivo-cli --jsonl does.")
    parser.add_argument("in_glob", metavar="IN_GLOB", help="the input files, e.g. 'in/*.jsonl'")
    parser.add_argument("out_dir", metavar="OUT_DIR", help="the folder for part-NNNNN.jsonl")
    parser.add_argument("--scheduler", metavar="ADDRESS",
                        help="a running scheduler, e.g. tcp://10.0.0.1:8786 (default: start a "
                             "local cluster)")
    parser.add_argument("--blocksize", default="16MiB",
                        help="bytes of input per partition (default 16MiB)")
    parser.add_argument("--jobs", type=int, default=1,
                        help="summarise_many threads per partition (default 1: the workers' "
                             "threads run partitions in parallel)")
    args = parser.parse_args(argv)

    import dask.bag
    from distributed import Client, LocalCluster

    if args.scheduler:
        client = Client(args.scheduler)
        cluster = None
    else:
        cluster = LocalCluster(n_workers=os.cpu_count() or 1, threads_per_worker=1,
                               processes=True, dashboard_address=None)
        client = Client(cluster)
    try:
        # Lines end at "\n" only, as abrivo-cli reads them; bytes that are
        # not UTF-8 come through as surrogates, and parse refuses them.
        lines = dask.bag.read_text(args.in_glob, blocksize=args.blocksize, linedelimiter="\n",
                                   encoding="utf-8", errors="surrogateescape")
        results = lines.map_partitions(summarise_lines, jobs=args.jobs)
        os.makedirs(args.out_dir, exist_ok=True)
        written = results.to_textfiles(os.path.join(args.out_dir, "part-*.jsonl"),
                                       name_function=lambda n: f"{n:05d}", encoding="utf-8",
                                       last_endline=True)
        print(f"wrote {len(written)} files to {args.out_dir}", file=sys.stderr)
    finally:
        client.close()
        if cluster is not None:
            cluster.close()


if __name__ == "__main__":
    main()
