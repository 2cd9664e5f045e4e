#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""quillmark-decode on a terminal: the Linux program on a pseudo-terminal and the Windows program
on the console Wine makes of one must show a person the same text.

usage: console.py LINUX_PROGRAM WINDOWS_PROGRAM SCRATCH_DIR

WINDOWS_PROGRAM runs quillmark-decode.exe under Wine. Two things are checked on both:
- a report and an error on the terminal: control characters from the dump and from a file name
  shown escaped, a file name in another script shown as itself;
- a dump typed with --lines is answered at once, while the input is still open.
Wine's console draws with escapes of its own (cursor hidden and shown, the rest of a line
cleared, a space written as a cursor step); they are taken out before the texts are compared.
"""
import fcntl
import os
import pty
import re
import select
import shutil
import signal
import struct
import sys
import termios
import time

TIMEOUT = 120


def spawn(argv):
    pid, fd = pty.fork()
    if pid == 0:
        try:
            os.execvp(argv[0], argv)
        finally:
            os._exit(127)
    fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 50, 400, 0, 0))
    return pid, fd


def read_until(fd, done, deadline):
    """What the terminal shows until done(shown) holds, the program ends or time is up."""
    seen = b""
    while not done(shown_text(seen)) and time.monotonic() < deadline:
        ready, _, _ = select.select([fd], [], [], max(0.0, deadline - time.monotonic()))
        if not ready:
            break
        try:
            chunk = os.read(fd, 65536)
        except OSError:  # the program ended and closed the terminal
            break
        if not chunk:
            break
        seen += chunk
    return shown_text(seen)


def shown_text(raw):
    """The text a person reads, without the drawing escapes of Wine's console."""
    text = re.sub(rb"\x1b\[(\d*)C", lambda m: b" " * int(m.group(1) or b"1"), raw)
    text = re.sub(rb"\x1b\[\??[0-9;]*[A-Za-z]", b"", text)
    text = text.replace(b"\r", b"").decode("utf-8", "replace")
    # A cleared rest of a line shows as nothing, as trailing spaces do.
    return "\n".join(line.rstrip(" ") for line in text.split("\n"))


def end(pid, fd):
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    os.waitpid(pid, 0)
    os.close(fd)


def wait_for_raw_mode(fd, deadline):
    """Wine's console reads the terminal key by key once it is set up; what is typed before
    that goes through the terminal's line editing and reaches it changed."""
    while time.monotonic() < deadline:
        if not termios.tcgetattr(fd)[3] & termios.ICANON:
            return
        time.sleep(0.05)


def shown_by(program, args, typed=None, until=None, raw=False):
    pid, fd = spawn(program + args)
    deadline = time.monotonic() + TIMEOUT
    if typed is not None:
        if raw:
            wait_for_raw_mode(fd, deadline)
        os.write(fd, typed)
    shown = read_until(fd, until or (lambda _: False), deadline)
    end(pid, fd)
    return shown


def main():
    linux, windows, scratch = [sys.argv[1]], [sys.argv[2]], sys.argv[3]
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    dump = os.path.join(scratch, "dump.txt")
    with open(dump, "wb") as f:
        f.write(b"\x1b]0;owned\x07 00000102 \xc2\x9b")
    missing = os.path.join(scratch, "Bögen–日本 \x1b[2J.txt")

    failures = []
    ending = "No such file or directory\n"
    on_linux = shown_by(linux, ["--lines", dump, missing], until=lambda s: s.endswith(ending))
    on_windows = shown_by(windows, ["--lines", dump, missing], until=lambda s: s.endswith(ending))
    if "\\x1b]0;owned\\x07" not in on_linux or "日本 \\x1b[2J.txt" not in on_linux:
        failures.append("the Linux program did not escape its output:\n" + on_linux)
    if on_windows != on_linux:
        failures.append("report and error differ:\n--- Linux\n%s--- Windows\n%s" % (on_linux, on_windows))

    answer = "Call Register: 0008F5B4\nMain PM: READY\n"
    for name, program, raw in (("Linux", linux, False), ("Windows", windows, True)):
        shown = shown_by(program, ["--lines"], typed=b"0008F5B4 00000102\r", until=lambda s: answer in s,
                         raw=raw)
        if answer not in shown:
            failures.append("%s: a typed dump was not answered while the input stayed open:\n%s" % (name, shown))

    for failure in failures:
        print(failure)
    print("console: %d checks, %d failed" % (3, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
