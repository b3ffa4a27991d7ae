#!/usr/bin/env python3
"""Times fgd-composer --check over a folder of FGD files against a reference FGD parser.

    bench/check_speed.py --program build/app/fgd-composer --reference 'CMD {}' [--runs 11] FOLDER

The check runs as a user runs it: one process for all the files, start-up included. The
reference is a command that loads one FGD file, named by {}, and prints "time_ms X" for its own
parse (bench/corpus.py describes one built around TrenchBroom's parser); it is timed both by
that figure, summed over the files, and by its processes' wall time. The runs alternate, so
both see the same load. Last, --check times a file of 32,767 lines made of the folder's
declarations, the most the main window's list holds.
"""

import argparse
import os
import re
import shlex
import statistics
import subprocess
import sys
import tempfile
import time


def wall(args):
    start = time.perf_counter()
    subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return (time.perf_counter() - start) * 1000


def reference(command, paths):
    """(sum of the reference's own parse times, sum of its processes' wall times), in ms."""
    parse = process = 0.0
    for path in paths:
        args = [a.replace("{}", path) for a in shlex.split(command)]
        start = time.perf_counter()
        out = subprocess.run(args, capture_output=True, text=True, errors="replace").stdout
        process += (time.perf_counter() - start) * 1000
        parse += float(re.search(r"time_ms ([\d.]+)", out)[1])
    return parse, process


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--reference", required=True)
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("folder")
    args = parser.parse_args()
    paths = sorted(os.path.join(args.folder, f) for f in os.listdir(args.folder)
                   if f.lower().endswith(".fgd"))
    size = sum(os.path.getsize(p) for p in paths)
    lines = sum(open(p, "rb").read().count(b"\n") for p in paths)

    ours, parses, processes = [], [], []
    for _ in range(args.runs):
        ours.append(wall([args.program, "--check"] + paths))
        parse, process = reference(args.reference, paths)
        parses.append(parse)
        processes.append(process)
    median = statistics.median
    print(f"{len(paths)} files, {lines:,} lines, {size / 1e6:.1f} MB; median of {args.runs} runs")
    print(f"--check, one process, start-up included: {median(ours):.1f} ms "
          f"({min(ours):.1f} to {max(ours):.1f})")
    print(f"reference, its own parse summed:         {median(parses):.1f} ms "
          f"({min(parses):.1f} to {max(parses):.1f})")
    print(f"reference, its processes' wall summed:   {median(processes):.1f} ms")
    print(f"ratio to the reference's parse: {median(ours) / median(parses):.2f} (target <= 0.5)")

    # 32,767 lines: the folder's lines over and over, cut at a declaration's start.
    source = []
    for p in paths:
        source += open(p, "rb").read().decode("cp1252", "replace").splitlines()
    body = []
    while len(body) < 32767:
        body += source
    cut = max(i for i in range(32767 + 1) if i == len(body) or body[i].startswith("@"))
    body = body[:cut] + ["// filler"] * (32767 - cut)
    with tempfile.NamedTemporaryFile("w", suffix=".fgd", delete=False, encoding="cp1252",
                                     errors="replace", newline="\r\n") as full:
        full.write("\n".join(body) + "\n")
    try:
        times = [wall([args.program, "--check", full.name]) for _ in range(args.runs)]
    finally:
        os.unlink(full.name)
    print(f"--check of a 32,767-line file: {median(times):.1f} ms "
          f"({min(times):.1f} to {max(times):.1f}; target < 100)")


if __name__ == "__main__":
    sys.exit(main())
