#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Throughput and peak memory of `quillmark-decode --lines` beside `wc -l` on the same dumps.

usage: bench/cli/run.sh [PROGRAM]   (default: build/bin/quillmark-decode)

Generates a 50 MB file of call register dumps, one per line, well-formed and malformed mixed,
and a 500 MB file made of ten copies of it, under /tmp/quillmark-cli-bench (never committed).
Reports the best of five runs per command, output to /dev/null, and the peak resident set size
that /usr/bin/time -v gives for both file sizes.
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


def dumps(size_mb):
    path = DATA / ("dumps-%d.txt" % size_mb)
    if not path.exists():
        if size_mb == 50:
            subprocess.run([sys.executable, str(HERE / "make_dumps.py"), str(path), "50"], check=True)
        else:
            base = dumps(50)
            with open(path, "wb") as out:
                for _ in range(size_mb // 50):
                    with open(base, "rb") as part:
                        while chunk := part.read(1 << 22):
                            out.write(chunk)
    return path


def best_seconds(command):
    """Best wall-clock time and best CPU time (user + system) of the runs.

    On a shared machine the CPU time is the steadier figure: it leaves out waiting for a core.
    """
    wall = cpu = None
    for _ in range(RUNS):
        with open(os.devnull, "wb") as sink:
            start = time.perf_counter()
            child = subprocess.Popen(command, stdout=sink)
            _, status, usage = os.wait4(child.pid, 0)
            elapsed = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            raise SystemExit("%s failed" % " ".join(command))
        used = usage.ru_utime + usage.ru_stime
        wall = elapsed if wall is None else min(wall, elapsed)
        cpu = used if cpu is None else min(cpu, used)
    return wall, cpu


def peak_rss_kib(command):
    with open(os.devnull, "wb") as sink:
        result = subprocess.run(["/usr/bin/time", "-v"] + command, stdout=sink,
                                stderr=subprocess.PIPE, text=True, check=True)
    return int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", result.stderr).group(1))


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else str(TOP / "build" / "bin" / "quillmark-decode")
    DATA.mkdir(exist_ok=True)
    small = dumps(50)
    size = small.stat().st_size
    lines = int(subprocess.run(["wc", "-l", str(small)], capture_output=True, text=True,
                               check=True).stdout.split()[0])
    subprocess.run(["cat", str(small)], stdout=subprocess.DEVNULL, check=True)  # warm the cache

    print("input: %s, %.1f MB, %d lines" % (small, size / 1e6, lines))
    # --lines decodes on one worker thread per core; other work on the machine slows it.
    print("cores: %d, load average before: %.2f" % (os.cpu_count(), os.getloadavg()[0]))
    print("%-32s %9s %10s %7s %8s   %s" % ("", "wall s", "MB/s", "ratio", "CPU s", "CPU ratio"))
    wc_wall, wc_cpu = best_seconds(["wc", "-l", str(small)])
    print("%-32s %9.3f %10.1f %7s %8.3f" % ("wc -l", wc_wall, size / wc_wall / 1e6, "1", wc_cpu))
    for label, options in (("quillmark-decode --lines", ["--lines"]),
                           ("quillmark-decode --lines --json", ["--lines", "--json"])):
        wall, cpu = best_seconds([program] + options + [str(small)])
        print("%-32s %9.3f %10.1f %7s %8.3f   1/%.1f   (%.0f lines/s)" % (
            label, wall, size / wall / 1e6, "1/%.1f" % (wall / wc_wall), cpu,
            cpu / max(wc_cpu, 1e-3), lines / wall))

    large = dumps(500)
    for path in (small, large):
        for options in (["--lines"], ["--lines", "--json"]):
            print("peak RSS %-24s %6.0f MB input: %6d KiB" % (
                " ".join(options), path.stat().st_size / 1e6,
                peak_rss_kib([program] + options + [str(path)])))


if __name__ == "__main__":
    main()
