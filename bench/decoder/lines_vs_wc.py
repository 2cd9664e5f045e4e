#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""quillmark-decode --lines (text and JSON) beside `wc -l` on the same file, taken in turns.

usage: lines_vs_wc.py [--log] FILE PROGRAM [PROGRAM...]   (QUILLMARK_BENCH_ROUNDS rounds, default 15)

With --log the programs read the file as a console log (`--log`, `--log --json`, `--log --csv`,
`--log --summary`); a FILE that does not exist yet is made first, a 60 MB log as
`bench/cli/make_dumps.py --log FILE 60` writes it.

Each round runs `wc -l FILE`, then every form for each program given (for instance a build
before and after a change), output to /dev/null, so all of them see the same load on a shared
machine. Reports per command the best and the median wall time, MB/s of the best, the best
wall time's share of `wc -l`'s best, the best CPU time (user + system: on a busy machine the
steadier figure), the median of the per-round shares in CPU time, and the peak RSS.
"""
import os
import pathlib
import statistics
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "cli"))
from run import timed  # noqa: E402  one run's wall-clock and CPU time, as the CLI bench takes it
FORMS = {"--lines": ([], ["--json"]), "--log": ([], ["--json"], ["--csv"], ["--summary"])}


def peak_rss_kib(command):
    """Peak RSS of one more run, as /usr/bin/time tells it (a child's own rusage would count the
    memory of the Python process it was forked from)."""
    with open(os.devnull, "wb") as sink:
        result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, stdout=sink,
                                stderr=subprocess.PIPE, text=True, check=True)
    return int(result.stderr.strip().splitlines()[-1])


def main():
    args = sys.argv[1:]
    mode = "--lines"
    if args and args[0] == "--log":
        mode = args.pop(0)
    if len(args) < 2:
        raise SystemExit(__doc__)
    path, programs = args[0], args[1:]
    if mode == "--log" and not os.path.exists(path):
        subprocess.run([sys.executable, str(HERE.parent / "cli" / "make_dumps.py"), "--log", path, "60"],
                       check=True)
    rounds = int(os.environ.get("QUILLMARK_BENCH_ROUNDS", "15"))
    size = os.path.getsize(path)
    commands = {"wc -l": ["wc", "-l", path]}
    for program in programs:
        for extra in FORMS[mode]:
            commands[" ".join([program, mode] + extra)] = [program, mode] + extra + [path]
    subprocess.run(["cat", path], stdout=subprocess.DEVNULL, check=True)  # warm the page cache
    runs = {name: [] for name in commands}
    load = os.getloadavg()[0]
    for _ in range(rounds):
        for name, command in commands.items():
            runs[name].append(timed(command))
    print("%s: %.1f MB, %d rounds, load average %.2f before, %.2f after" % (
        path, size / 1e6, rounds, load, os.getloadavg()[0]))
    width = max(len(name) for name in commands)
    print("%-*s %8s %8s %8s %8s %8s %10s %9s" % (width, "", "best ms", "med ms", "MB/s", "share",
                                                  "CPU ms", "CPU share", "RSS KiB"))
    wc_best = min(wall for wall, _ in runs["wc -l"])
    for name, measured in runs.items():
        best = min(wall for wall, _ in measured)
        cpu_share = statistics.median(
            cpu / max(wc[1], 1e-3) for (_, cpu), wc in zip(measured, runs["wc -l"]))
        print("%-*s %8.1f %8.1f %8.1f %8s %8.1f %10s %9d" % (
            width, name, best * 1e3, statistics.median(wall for wall, _ in measured) * 1e3,
            size / best / 1e6, "1/%.1f" % (best / wc_best), min(cpu for _, cpu in measured) * 1e3,
            "1/%.1f" % cpu_share,
            peak_rss_kib(commands[name])))


if __name__ == "__main__":
    main()
