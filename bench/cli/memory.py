#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Peak resident set size of quillmark-decode on inputs that once made it grow without bound.

usage: bench/cli/memory.py [PROGRAM]   (default: build/bin/quillmark-decode)

Makes its inputs under /tmp/quillmark-cli-memory (never committed): a 200 MB word, `A ` and a
200 MB word, 200 MB of random bytes and a sparse 10 GB line; /dev/zero is read for a few
seconds. Prints one row per input and mode with the peak RSS that /usr/bin/time -f %M gives,
and marks a row that is above 64 MiB.
"""
import os
import pathlib
import subprocess
import sys

TOP = pathlib.Path(__file__).resolve().parent.parent.parent
DATA = pathlib.Path("/tmp/quillmark-cli-memory")
LIMIT_KIB = 64 * 1024
SIZE = 200 * 1000 * 1000
MODES = (["--json"], [], ["--lines"], ["--lines", "--json"], ["--skip", "1"], ["--lines", "--skip", "1"])
ENDLESS_SECONDS = 4


def make(name, writer):
    path = DATA / name
    if not path.exists():
        with open(path, "wb") as out:
            writer(out)
    return path


def repeated(prefix, byte, size):
    def write(out):
        out.write(prefix)
        block = byte * (1 << 20)
        for _ in range(size // len(block)):
            out.write(block)
    return write


def random_bytes(out):
    with open("/dev/urandom", "rb") as source:
        for _ in range(SIZE // (1 << 20)):
            out.write(source.read(1 << 20))


def sparse_line(out):
    out.truncate(10 * 1000 * 1000 * 1000)


def peak_kib(command):
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
    return int(result.stderr.strip().splitlines()[-1]), result.returncode


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else str(TOP / "build" / "bin" / "quillmark-decode")
    DATA.mkdir(exist_ok=True)
    inputs = [
        ("`A ` then 200 MB of `0`", make("a-then-zeros.txt", repeated(b"A ", b"0", SIZE)), False),
        ("one 200 MB word", make("one-word.txt", repeated(b"", b"F", SIZE)), False),
        ("200 MB of random bytes", make("random.bin", random_bytes), False),
        ("a 10 GB line (sparse file)", make("line-10g.bin", sparse_line), False),
        ("/dev/zero, %d s" % ENDLESS_SECONDS, pathlib.Path("/dev/zero"), True),
    ]
    print("%-28s %-22s %10s %6s" % ("input", "options", "peak KiB", "exit"))
    worst = 0
    for label, path, endless in inputs:
        for mode in MODES:
            command = [program] + mode + [str(path)]
            if endless:
                command = ["timeout", str(ENDLESS_SECONDS)] + command
            kib, status = peak_kib(command)
            worst = max(worst, kib)
            print("%-28s %-22s %10d %6d%s" % (label, " ".join(mode) or "(default)", kib, status,
                                              "  ABOVE 64 MiB" if kib > LIMIT_KIB else ""))
    print("highest: %d KiB (limit %d KiB)" % (worst, LIMIT_KIB))
    return 0 if worst <= LIMIT_KIB else 1


if __name__ == "__main__":
    sys.exit(main())
