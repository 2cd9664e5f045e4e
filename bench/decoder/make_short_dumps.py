#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes short call register dumps, one per line: thirty random upper-case hexadecimal words of
seven or eight digits, single spaces between them, about 255 bytes a line.

usage: make_short_dumps.py OUTPUT [LINES [SEED]]   (default 200000 lines, seed 1)
"""
import random
import sys


def main():
    output = sys.argv[1]
    lines = int(sys.argv[2]) if len(sys.argv) > 2 else 200000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    with open(output, "w", encoding="ascii", newline="\n") as out:
        for _ in range(lines):
            words = ("%0*X" % (digits, rng.getrandbits(4 * digits))
                     for digits in (rng.choice((7, 8)) for _ in range(30)))
            out.write(" ".join(words) + "\n")


if __name__ == "__main__":
    main()
