#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""quillmark-decode --lines (text and JSON) beside `wc -l` on the same file, taken in turns.

usage: lines_vs_wc.py PROGRAM FILE [ROUNDS]   (default 15 rounds)

Each round runs `wc -l FILE`, `PROGRAM --lines FILE` and `PROGRAM --lines --json FILE` once,
output to /dev/null, so the three see the same load on a shared machine. Reports per command the
median wall time, MB/s and the median of the per-round ratios to `wc -l` (wall and CPU time).
"""
import os
import statistics
import subprocess
import sys
import time


def run(command):
    with open(os.devnull, "wb") as sink:
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=sink)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit("%s failed" % " ".join(command))
    return wall, usage.ru_utime + usage.ru_stime


def main():
    program, path = sys.argv[1], sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 15
    size = os.path.getsize(path)
    commands = {
        "wc -l": ["wc", "-l", path],
        "--lines": [program, "--lines", path],
        "--lines --json": [program, "--lines", "--json", path],
    }
    subprocess.run(["cat", path], stdout=subprocess.DEVNULL, check=True)  # warm the page cache
    walls = {name: [] for name in commands}
    cpus = {name: [] for name in commands}
    for _ in range(rounds):
        for name, command in commands.items():
            wall, cpu = run(command)
            walls[name].append(wall)
            cpus[name].append(cpu)
    print("%s: %.1f MB, %d rounds, load average %.2f" % (path, size / 1e6, rounds, os.getloadavg()[0]))
    print("%-16s %9s %9s %12s %9s %12s" % ("", "wall ms", "MB/s", "wall share", "CPU ms", "CPU share"))
    for name in commands:
        share = statistics.median(w / wc for w, wc in zip(walls[name], walls["wc -l"]))
        cpu_share = statistics.median(c / max(wc, 1e-3) for c, wc in zip(cpus[name], cpus["wc -l"]))
        wall = statistics.median(walls[name])
        print("%-16s %9.1f %9.1f %12s %9.1f %12s" % (
            name, wall * 1e3, size / wall / 1e6, "1/%.1f" % share, statistics.median(cpus[name]) * 1e3,
            "1/%.1f" % cpu_share))


if __name__ == "__main__":
    main()
