#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""quillmark-decode --lines (text and JSON) beside `wc -l` on the same file, taken in turns.

usage: lines_vs_wc.py [--log] FILE PROGRAM [PROGRAM...]   (QUILLMARK_BENCH_ROUNDS rounds, default 15)

With --log the programs read the file as a console log (`--log`, `--log --json`), for instance
one that `bench/cli/make_dumps.py --log` writes.

Each round runs `wc -l FILE`, then `PROGRAM --lines FILE` and `PROGRAM --lines --json FILE` for
each program given (for instance a build before and after a change), output to /dev/null, so
all of them see the same load on a shared machine. Reports per command the median wall time,
MB/s, and the median of the per-round ratios to `wc -l` in wall and in CPU time.
"""
import os
import pathlib
import statistics
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "cli"))
from run import timed  # noqa: E402  (one timed run, shared with bench/cli)


def main():
    args = sys.argv[1:]
    mode = "--lines"
    if args and args[0] == "--log":
        mode = args.pop(0)
    if len(args) < 2:
        raise SystemExit(__doc__)
    path, programs = args[0], args[1:]
    rounds = int(os.environ.get("QUILLMARK_BENCH_ROUNDS", "15"))
    size = os.path.getsize(path)
    commands = {"wc -l": ["wc", "-l", path]}
    for program in programs:
        commands["%s %s" % (program, mode)] = [program, mode, path]
        commands["%s %s --json" % (program, mode)] = [program, mode, "--json", path]
    subprocess.run(["cat", path], stdout=subprocess.DEVNULL, check=True)  # warm the page cache
    walls = {name: [] for name in commands}
    cpus = {name: [] for name in commands}
    load = os.getloadavg()[0]
    for _ in range(rounds):
        for name, command in commands.items():
            wall, cpu = timed(command)
            walls[name].append(wall)
            cpus[name].append(cpu)
    print("%s: %.1f MB, %d rounds, load average %.2f before, %.2f after" % (
        path, size / 1e6, rounds, load, os.getloadavg()[0]))
    width = max(len(name) for name in commands)
    print("%-*s %9s %9s %11s %9s %11s" % (width, "", "wall ms", "MB/s", "wall share", "CPU ms", "CPU share"))
    for name in commands:
        share = statistics.median(w / wc for w, wc in zip(walls[name], walls["wc -l"]))
        cpu_share = statistics.median(c / max(wc, 1e-3) for c, wc in zip(cpus[name], cpus["wc -l"]))
        wall = statistics.median(walls[name])
        print("%-*s %9.1f %9.1f %11s %9.1f %11s" % (
            width, name, wall * 1e3, size / wall / 1e6, "1/%.1f" % share,
            statistics.median(cpus[name]) * 1e3, "1/%.1f" % cpu_share))


if __name__ == "__main__":
    main()
