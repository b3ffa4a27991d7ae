#!/usr/bin/env python3
"""Compares the line check with a reference FGD parser over real files and slipped copies.

    bench/corpus.py --reference 'CMD {}' [--checker build/bench/check_files]
                    [--slips 60] [--seed 1] FOLDER

FOLDER holds real .fgd files. They are not kept in this repository, as most come under their
games' licences; public collections of GoldSrc FGDs have them, such as the GitHub repositories
Erty-Gamedev/GoldSrcFGDCollection (Half-Life and its expansions, Counter-Strike and Condition
Zero, Day of Defeat, Team Fortress Classic, Ricochet, Deathmatch Classic, Firearms, The
Specialists, They Hunger, Spirit of Half-Life, Sven Co-op, the ZHLT compiler FGD),
Descen/GoldSrc-Map-Editor-Entity-Icons (a newer Sven Co-op FGD) and the history of
Mikk155/Sven-Co-op (Sven Co-op FGDs with $-prefixed custom key-values and indexed keys).

The reference is any command that loads one FGD file, named by {}, and exits 0 when it loads it
and non-zero when it refuses it; a refusal that names "line N" gives the line it found. A
reference that prints "time_ms X" for its own parse is timed with that figure. To compare with
TrenchBroom, build a small program around its parser (mdl::FgdParser and parseDefinitions in
its lib/TbMdlLib) that does just that; this project does not ship one.

For each file it reports the check's errors and warnings and what the reference says. Then it
makes --slips copies of each file with one typing slip each (a character deleted, doubled,
swapped with the next or replaced, in a line of a declaration) and counts, against the
reference:
  caught     the reference refuses the copy and the check marks an error in the declaration
             that holds the slip (from the line starting with @ above it to the next one)
  elsewhere  the reference refuses and the check marks a new error, but only in others
  missed     the reference refuses and the check marks no new error
  false      the reference loads the copy and the check marks a new error
  quiet      the reference loads the copy and the check marks no new error
Last it times opening and checking the largest file against the reference's parse of it.
"""

import argparse
import os
import random
import re
import shlex
import statistics
import subprocess
import sys
import tempfile

MARK = re.compile(r"^(.*):(\d+): (error|warning): (.*)$")
SUMMARY = re.compile(r"^(.*): (\d+) errors, (\d+) warnings, (\d+) lines, ([\d.]+) ms$")


def check(checker, paths):
    """Runs the check over paths: {path: {"errors": {line: reason}, "warnings": {...}, "ms": t}}."""
    found = {p: {"errors": {}, "warnings": {}, "ms": None} for p in paths}
    for start in range(0, len(paths), 200):
        batch = paths[start:start + 200]
        out = subprocess.run([checker] + batch, capture_output=True, text=True,
                             encoding="utf-8", errors="replace").stdout
        for line in out.splitlines():
            if m := MARK.match(line):
                found[m[1]][m[3] + "s"][int(m[2])] = m[4]
            elif m := SUMMARY.match(line):
                found[m[1]]["ms"] = float(m[5])
    return found


def reference(command, path):
    """(loads, line or None, message, time_ms or None) from the reference for one file."""
    args = [a.replace("{}", path) for a in shlex.split(command)]
    run = subprocess.run(args, capture_output=True, text=True, encoding="utf-8", errors="replace")
    text = run.stdout + run.stderr
    time = re.search(r"time_ms ([\d.]+)", text)
    # The refusal is the last thing a parser says; what it logged before may name other lines.
    message = next((l for l in reversed(text.splitlines()) if re.search("line \\d+", l, re.I)), "")
    message = message if run.returncode else ""
    line = re.search(r"line (\d+)", message, re.IGNORECASE)
    return (run.returncode == 0, int(line[1]) if line and run.returncode else None,
            message.strip(), float(time[1]) if time else None)


def slip(lines, rng):
    """A copy of lines with one typing slip in a declaration's line, and the slipped line (1-)."""
    candidates = [i for i, l in enumerate(lines)
                  if l.strip() and not l.lstrip().startswith("//")]
    if not candidates:
        return None, None  # nothing but comments: no declaration to slip in
    i = rng.choice(candidates)
    text = lines[i]
    body = [k for k, c in enumerate(text) if not c.isspace()]
    k = rng.choice(body)
    kind = rng.randrange(4)
    if kind == 0:
        text = text[:k] + text[k + 1:]
    elif kind == 1:
        text = text[:k] + text[k] + text[k:]
    elif kind == 2 and k + 1 < len(text):
        text = text[:k] + text[k + 1] + text[k] + text[k + 2:]
    else:
        text = text[:k] + rng.choice('abz019_-"[]():=,@ ') + text[k + 1:]
    copy = list(lines)
    copy[i] = text
    return copy, i + 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--reference", required=True)
    parser.add_argument("--checker", default="build/bench/check_files")
    parser.add_argument("--slips", type=int, default=60)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    files = sorted(os.path.join(args.folder, f) for f in os.listdir(args.folder)
                   if f.lower().endswith(".fgd"))
    own = check(args.checker, files)
    print(f"{'file':44} {'lines':>6} {'errors':>6} {'warns':>6}  reference")
    loaded = []
    for path in files:
        loads, line, message, _ = reference(args.reference, path)
        if loads:
            loaded.append(path)
        with open(path, encoding="cp1252", errors="replace") as f:
            count = len(f.read().splitlines())
        verdict = "loads" if loads else f"refuses at line {line}"
        agree = (len(own[path]["errors"]) == 0) == loads
        print(f"{os.path.basename(path)[:44]:44} {count:6} {len(own[path]['errors']):6} "
              f"{len(own[path]['warnings']):6}  {verdict}{'' if agree else '   <- differs'}")

    rng = random.Random(args.seed)
    counts = {"caught": 0, "elsewhere": 0, "missed": 0, "false": 0, "quiet": 0}
    examples = {"elsewhere": [], "missed": [], "false": []}
    reasons = {"elsewhere": {}, "false": {}}
    with tempfile.TemporaryDirectory() as folder:
        copies = []
        # Slips only in files the reference loads, so that its refusal is the slip's.
        for n, path in enumerate(loaded):
            with open(path, encoding="cp1252", errors="replace", newline="") as f:
                lines = f.read().split("\n")
            for s in range(args.slips):
                copy, slipped = slip(lines, rng)
                if copy is None:
                    break
                name = os.path.join(folder, f"{n:02}-{s:03}.fgd")
                with open(name, "w", encoding="cp1252", errors="replace", newline="") as f:
                    f.write("\n".join(copy))
                first = max([i + 1 for i in range(slipped) if copy[i].lstrip().startswith("@")],
                            default=1)
                last = min([i for i in range(slipped, len(copy))
                            if copy[i].lstrip().startswith("@")], default=len(copy))
                copies.append((name, path, slipped, range(first, last + 1)))
        marks = check(args.checker, [c[0] for c in copies])
        for name, original, slipped, declaration in copies:
            loads, line, message, _ = reference(args.reference, name)
            new = {l: r for l, r in marks[name]["errors"].items()
                   if own[original]["errors"].get(l) != r}
            if loads:
                outcome = "false" if new else "quiet"
            elif not new:
                outcome = "missed"
            else:
                outcome = "caught" if any(l in declaration for l in new) else "elsewhere"
            counts[outcome] += 1
            if outcome in examples and len(examples[outcome]) < 5:
                with open(name, encoding="cp1252", errors="replace") as f:
                    text = f.read().split("\n")[slipped - 1].strip()
                examples[outcome].append(f"{os.path.basename(original)}:{slipped}: {text[:60]!r}"
                                         f" -> {message[-70:] or 'loads'}; marks "
                                         f"{[(l, new[l][:50]) for l in sorted(new)[:2]]}")
            if outcome in ("false", "elsewhere"):
                for reason in new.values():
                    kind = re.sub(r'"[^"]*"', '"..."', reason.split(";")[0])[:70]
                    reasons[outcome][kind] = reasons[outcome].get(kind, 0) + 1
    refused = counts["caught"] + counts["elsewhere"] + counts["missed"]
    print(f"\n{len(copies)} slipped copies: the reference refuses {refused}, loads "
          f"{counts['false'] + counts['quiet']}")
    for key, value in counts.items():
        print(f"  {key:10} {value}")
    for key, lines in examples.items():
        for line in lines:
            print(f"  {key}: {line}")
    for key, table in reasons.items():
        print(f"  {key} marks by reason:")
        for reason, count in sorted(table.items(), key=lambda item: -item[1]):
            print(f"    {count:4}  {reason}")

    largest = max(files, key=os.path.getsize)
    ours = [check(args.checker, [largest])[largest]["ms"] for _ in range(11)]
    theirs = [reference(args.reference, largest)[3] for _ in range(11)]
    print(f"\nlargest file {os.path.basename(largest)}: open and check "
          f"{statistics.median(ours):.1f} ms (median of 11)", end="")
    if None not in theirs:
        ratio = statistics.median(ours) / statistics.median(theirs)
        print(f", reference parse {statistics.median(theirs):.1f} ms: {ratio:.2f}x")
    else:
        print()


if __name__ == "__main__":
    sys.exit(main())
