#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes call register dumps, one per line, up to a size.

usage: make_dumps.py OUTPUT SIZE_MB [SEED]     well-formed and malformed dumps mixed
       make_dumps.py --short OUTPUT LINES [SEED]
                                              random 30-word dumps as a log holds them, words
                                              without leading zeros (about 253 bytes a line)
       make_dumps.py --log OUTPUT SIZE_MB [SEED]  a console log: prompts, timestamps, other
                                              messages with hex words, and BUG messages whose
                                              dumps are wrapped over one to five lines
"""
import random
import sys


def hex_word(rng):
    return "%08X" % rng.getrandbits(32)


def well_formed(rng):
    return " ".join(hex_word(rng) for _ in range(30))


def malformed(rng):
    kind = rng.randrange(10)
    if kind == 0:  # a short dump
        return " ".join(hex_word(rng) for _ in range(rng.randrange(1, 13)))
    if kind == 1:  # lower-case digits
        return well_formed(rng).lower()
    if kind == 2:  # text before the first word, as pasted from the log
        return "BUG%04d CR %s" % (rng.randrange(10000), well_formed(rng))
    if kind == 3:  # runs of spaces and tabs
        return "  ".join(hex_word(rng) for _ in range(20)) + "\t" + hex_word(rng)
    if kind == 4:  # CR LF line end
        return well_formed(rng) + "\r"
    if kind == 5:  # an empty line
        return ""
    if kind == 6:  # bytes that are not UTF-8, control characters and quotes
        return hex_word(rng) + ' \udcff\udcfe"\\\x01\x1f ' + well_formed(rng)
    if kind == 7:  # non-ASCII text
        return "Störung €" + " " + well_formed(rng)
    if kind == 8:  # far more than 30 words
        return " ".join(hex_word(rng) for _ in range(400))
    return "".join(rng.choice("0123456789ABCDEFG xz") for _ in range(rng.randrange(400)))


def short_dumps(output, count, rng):
    with open(output, "w", encoding="ascii") as out:
        for _ in range(count):
            out.write(" ".join("%X" % rng.getrandbits(29) for _ in range(30)) + "\n")


CONSOLE_LINES = ["OK", ">", "REQ: prt", "TYPE: tnb", "", "DATE 10/12/2026 TIME 12:00:01",
                 "ERR0042 0000 1A2B 0008", "INI000 00001234 00000000", "   ", "LD 32", "IDLE"]


def console_message(rng):
    """A BUG message as a terminal prints it: 13 to 30 words wrapped at random."""
    words = [hex_word(rng) for _ in range(rng.randrange(13, 31))]
    if rng.random() < 0.05:
        words = words[: rng.randrange(1, 12)]  # a short dump
    lines, line = [], "BUG%04d" % rng.randrange(10000)
    per_line = rng.choice([30, 13, 8, 6])
    for k, word in enumerate(words):
        if k > 0 and k % per_line == 0:
            lines.append(line)
            line = rng.choice(["", "   ", " "])[:-1] if rng.random() < 0.5 else ""
            line += word
        else:
            line += " " + word
    lines.append(line)
    return "\n".join(lines)


def console_log(output, size_mb, rng):
    pool = [console_message(rng) if rng.random() < 0.4 else rng.choice(CONSOLE_LINES)
            for _ in range(20000)]
    limit = int(size_mb * 1024 * 1024)
    written = 0
    with open(output, "w", encoding="ascii", newline="") as out:
        while written < limit:
            chunk = "\n".join(rng.choice(pool) for _ in range(2000)) + "\n"
            out.write(chunk)
            written += len(chunk)


def main():
    if sys.argv[1] == "--log":
        console_log(sys.argv[2], float(sys.argv[3]), random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1))
        return
    if sys.argv[1] == "--short":
        short_dumps(sys.argv[2], int(sys.argv[3]), random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1))
        return
    output, size_mb = sys.argv[1], float(sys.argv[2])
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    pool = [(well_formed(rng) if rng.random() < 0.6 else malformed(rng)).encode("utf-8", "surrogateescape")
            for _ in range(20000)]
    limit = int(size_mb * 1024 * 1024)
    written = 0
    with open(output, "wb") as out:
        while written < limit:
            chunk = b"\n".join(rng.choice(pool) for _ in range(2000)) + b"\n"
            out.write(chunk)
            written += len(chunk)


if __name__ == "__main__":
    main()
