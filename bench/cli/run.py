#!/usr/bin/env python3
"""Throughput and peak memory of `quillmark-decode --lines` beside `wc -l` on the same dumps.

usage: bench/cli/run.py [PROGRAM]   (default: build/bin/quillmark-decode)

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
RUNS = 5


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
    best = None
    for _ in range(RUNS):
        with open(os.devnull, "wb") as sink:
            start = time.perf_counter()
            subprocess.run(command, stdout=sink, check=True)
            elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


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
    wc = best_seconds(["wc", "-l", str(small)])
    print("%-32s %8.3f s %9.1f MB/s" % ("wc -l", wc, size / wc / 1e6))
    for label, options in (("quillmark-decode --lines", ["--lines"]),
                           ("quillmark-decode --lines --json", ["--lines", "--json"])):
        seconds = best_seconds([program] + options + [str(small)])
        print("%-32s %8.3f s %9.1f MB/s  %8.0f lines/s  1/%.1f of wc -l" % (
            label, seconds, size / seconds / 1e6, lines / seconds, seconds / wc))

    large = dumps(500)
    for path in (small, large):
        for options in (["--lines"], ["--lines", "--json"]):
            print("peak RSS %-24s %6.0f MB input: %6d KiB" % (
                " ".join(options), path.stat().st_size / 1e6,
                peak_rss_kib([program] + options + [str(path)])))


if __name__ == "__main__":
    main()
