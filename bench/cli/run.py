#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Throughput and peak memory of `quillmark-decode --lines` beside `wc -l` on the same dumps.

usage: bench/cli/run.sh [--large] [PROGRAM]   (default: build/bin/quillmark-decode)

Two data sets under /tmp/quillmark-cli-bench (never committed): 50 MB of well-formed and
malformed dumps mixed, and 200,000 random 30-word dumps (about 253 bytes a line). For each,
`wc -l`, text and JSON run in the same invocation on the same file, best of five runs, output
to /dev/null; "share" is how much of `wc -l`'s speed the command reaches. Peak RSS follows;
with --large also on a 500 MB file of ten copies of the mixed set.
"""
import os
import pathlib
import re
import subprocess
import sys
import time

HERE = pathlib.Path(__file__).resolve().parent
TOP = HERE.parent.parent
DATA = pathlib.Path("/tmp/quillmark-cli-bench")
RUNS = int(os.environ.get("QUILLMARK_BENCH_RUNS", "5"))
COMMANDS = (("text --lines", ["--lines"]), ("JSON --lines", ["--lines", "--json"]))


def generated(name, arguments):
    path = DATA / name
    if not path.exists():
        subprocess.run([sys.executable, str(HERE / "make_dumps.py")] + arguments(path), check=True)
    return path


def mixed():
    return generated("dumps-50.txt", lambda path: [str(path), "50"])


def short():
    return generated("short-200000.txt", lambda path: ["--short", str(path), "200000"])


def large():
    path = DATA / "dumps-500.txt"
    if not path.exists():
        with open(path, "wb") as out:
            for _ in range(10):
                with open(mixed(), "rb") as part:
                    while chunk := part.read(1 << 22):
                        out.write(chunk)
    return path


def timed(command):
    """Wall-clock and CPU time (user + system) of one run, output to /dev/null."""
    with open(os.devnull, "wb") as sink:
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=sink)
        _, status, usage = os.wait4(child.pid, 0)
        elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit("%s failed" % " ".join(command))
    return elapsed, usage.ru_utime + usage.ru_stime


def best_seconds(command):
    """Best wall-clock time and best CPU time (user + system) of the runs.

    On a shared machine the CPU time is the steadier figure: it leaves out waiting for a core.
    """
    runs = [timed(command) for _ in range(RUNS)]
    return min(wall for wall, _ in runs), min(cpu for _, cpu in runs)


def peak_rss_kib(command):
    with open(os.devnull, "wb") as sink:
        result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, stdout=sink,
                                stderr=subprocess.PIPE, text=True, check=True)
    return int(result.stderr.strip().splitlines()[-1])


def measure(label, path, program):
    size = path.stat().st_size
    lines = int(subprocess.run(["wc", "-l", str(path)], capture_output=True, text=True,
                               check=True).stdout.split()[0])
    subprocess.run(["cat", str(path)], stdout=subprocess.DEVNULL, check=True)  # warm the cache
    print("\n%s: %s, %.1f MB, %d lines, %.0f bytes a line" % (label, path, size / 1e6, lines, size / lines))
    print("%-16s %8s %9s %7s %8s %9s %10s" % ("command", "wall s", "MB/s", "share", "CPU s",
                                               "CPU share", "CPU us/line"))
    wc_wall, wc_cpu = best_seconds(["wc", "-l", str(path)])
    print("%-16s %8.3f %9.1f %7s %8.3f %9s %10.3f" % ("wc -l", wc_wall, size / wc_wall / 1e6, "1",
                                                      wc_cpu, "1", wc_cpu / lines * 1e6))
    for name, options in COMMANDS:
        wall, cpu = best_seconds([program] + options + [str(path)])
        print("%-16s %8.3f %9.1f %7s %8.3f %9s %10.3f" % (
            name, wall, size / wall / 1e6, "1/%.1f" % (wall / wc_wall), cpu,
            "1/%.1f" % (cpu / max(wc_cpu, 1e-3)), cpu / lines * 1e6))
    for name, options in COMMANDS:
        print("peak RSS %-16s %6d KiB" % (name, peak_rss_kib([program] + options + [str(path)])))


def main():
    arguments = sys.argv[1:]
    with_large = "--large" in arguments
    arguments = [a for a in arguments if a != "--large"]
    program = arguments[0] if arguments else str(TOP / "build" / "bin" / "quillmark-decode")
    DATA.mkdir(exist_ok=True)
    # --lines decodes on one worker thread per core; other work on the machine slows it.
    print("cores: %d, load average before: %.2f" % (os.cpu_count(), os.getloadavg()[0]))
    measure("mixed dumps", mixed(), program)
    measure("short dumps", short(), program)
    if with_large:
        measure("mixed dumps x10", large(), program)


if __name__ == "__main__":
    main()
