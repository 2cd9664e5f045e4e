#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Linux and the Windows quillmark-decode on the same inputs: standard output byte for byte,
standard error and exit status must all be the same.

usage: differential.py LINUX_PROGRAM WINDOWS_PROGRAM MAKE_DUMPS SCRATCH_DIR

WINDOWS_PROGRAM is a program that runs quillmark-decode.exe (under Wine on Linux). Inputs: both
benchmark data sets of make_dumps.py, 2,000 random messages (each a file of its own and all of
them as the lines of one file), standard input as "-", unreadable inputs, and a file whose name
is not ASCII. Every run is given relative names from the same folder, so that both programs
name their inputs alike.
"""
import json
import os
import random
import shutil
import subprocess
import sys

RANDOM_MESSAGES = 2000
FILES_PER_RUN = 100
NON_ASCII_NAME = "Bögen–日本 1.txt"


def random_message(rng):
    """A dump as logs and pastes hold them: mostly words, sometimes anything."""
    kind = rng.randrange(6)
    words = ["%08X" % rng.getrandbits(32) for _ in range(rng.randrange(0, 40))]
    if kind == 0:
        words = [w.lower() if rng.random() < 0.3 else w[: rng.randrange(1, 9)] for w in words]
    elif kind == 1:
        words.insert(rng.randrange(len(words) + 1), rng.choice(["Störung", "€", "日本", "😀", "\x1b]0;t\x07", "\"q\\"]))
    text = rng.choice([" ", "  ", "\t"]).join(words) if kind == 2 else " ".join(words)
    if kind == 3:
        text = "".join(rng.choice("0123456789ABCDEFabcdef \t\r\"\\\x01\x7fxzö") for _ in range(rng.randrange(300)))
    data = text.encode("utf-8")
    if kind == 4:
        data = bytes(rng.getrandbits(8) for _ in range(rng.randrange(120)))
    if kind == 5:
        data = data + b"\r\n" + b" ".join(b"%08X" % rng.getrandbits(32) for _ in range(5))
    return data.replace(b"\n", b" ") if kind != 5 else data


def run(command, args, stdin, cwd):
    done = subprocess.run(command + args, input=stdin, cwd=cwd, capture_output=True, timeout=600)
    return done.returncode, done.stdout, done.stderr


def main():
    linux, windows, make_dumps, scratch = sys.argv[1:5]
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(os.path.join(scratch, "a folder"))
    rng = random.Random(20)

    subprocess.run([sys.executable, make_dumps, os.path.join(scratch, "mixed.txt"), "2", "7"], check=True)
    subprocess.run([sys.executable, make_dumps, "--short", os.path.join(scratch, "short.txt"), "20000", "7"],
                   check=True)
    messages = [random_message(rng) for _ in range(RANDOM_MESSAGES)]
    names = []
    for k, message in enumerate(messages):
        names.append("message-%04d.txt" % k)
        with open(os.path.join(scratch, names[-1]), "wb") as f:
            f.write(message)
    with open(os.path.join(scratch, "random-lines.txt"), "wb") as f:
        f.write(b"\n".join(messages) + b"\n")
    with open(os.path.join(scratch, NON_ASCII_NAME), "wb") as f:
        f.write(b"0008F5B4 00000102 00001A48 000A0421")

    runs = []  # (what, arguments, standard input)
    line_options = [["--lines"], ["--lines", "--json"], ["--lines", "--explain"],
                    ["--lines", "--json", "--explain"], ["--lines", "--skip", "3"],
                    ["--lines", "--json", "--skip", "29"]]
    for data in ["mixed.txt", "short.txt", "random-lines.txt"]:
        for options in line_options:
            runs.append((data, options + [data], b""))
        runs.append((data + " as one message", ["--json", data], b""))
    message_options = [[], ["--json"], ["--explain"], ["--json", "--explain"], ["--skip", "2"],
                       ["--json", "--skip", "1"], ["--explain", "--skip", "5"]]
    for start in range(0, RANDOM_MESSAGES, FILES_PER_RUN):
        batch = names[start:start + FILES_PER_RUN]
        options = message_options[(start // FILES_PER_RUN) % len(message_options)]
        # Standard input among the files, holding the next message too.
        stdin = messages[(start + FILES_PER_RUN) % RANDOM_MESSAGES]
        runs.append(("messages %d-%d" % (start, start + len(batch) - 1),
                     options + batch[:50] + ["-"] + batch[50:], stdin))
    # A console log with wrapped dumps among other lines: --log in every form, --csv, --summary.
    subprocess.run([sys.executable, make_dumps, "--log", os.path.join(scratch, "console.log"), "2", "7"],
                   check=True)
    for options in [["--log"], ["--log", "--json"], ["--log", "--explain"], ["--log", "--csv"],
                    ["--log", "--summary"], ["--log", "--summary", "--json"], ["--lines", "--csv"],
                    ["--csv"]]:
        runs.append(("console.log", options + ["console.log", "random-lines.txt"], b""))
    runs.append(("tables", ["--tables"], b""))
    runs.append(("standard input, lines", ["--lines", "--json", "-"], b"\n".join(messages[:300])))
    runs.append(("unreadable inputs", ["message-0000.txt", "missing.txt", "a folder", "-"], b"0008F5B4"))
    runs.append(("unreadable inputs, lines", ["--lines", "a folder", "missing.txt", "short.txt"], b""))
    runs.append(("usage error", ["--skip", "99999999999999999999"], b""))
    runs.append(("non-ASCII name", ["--json", NON_ASCII_NAME], b""))
    runs.append(("non-ASCII name, report", [NON_ASCII_NAME, "nicht da – 日本.txt"], b""))

    failed = 0
    compared_bytes = 0
    for what, args, stdin in runs:
        expected = run([linux], args, stdin, scratch)
        got = run([windows], args, stdin, scratch)
        compared_bytes += len(expected[1])
        for part, index in (("exit status", 0), ("standard output", 1), ("standard error", 2)):
            if expected[index] != got[index]:
                failed += 1
                print("DIFFERENT %s: %s (%s)" % (part, what, " ".join(args[:6])))
                if index == 2:
                    print("  linux:   %r\n  windows: %r" % (expected[2][:300], got[2][:300]))

    # The JSON names the non-ASCII file byte for byte.
    status, out, _ = run([windows], ["--json", NON_ASCII_NAME], b"", scratch)
    if status != 0 or json.loads(out)["file"].encode("utf-8") != NON_ASCII_NAME.encode("utf-8") or \
            ('"file":"%s"' % NON_ASCII_NAME).encode("utf-8") not in out:
        failed += 1
        print("DIFFERENT file key of %s: %r" % (NON_ASCII_NAME, out[:80]))

    print("%d runs (%d random messages, both benchmark data sets), %d bytes of output compared"
          % (len(runs), RANDOM_MESSAGES, compared_bytes))
    print("%d passed, %d failed" % (len(runs) - min(failed, len(runs)), failed))
    shutil.rmtree(scratch, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
