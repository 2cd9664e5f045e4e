#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# When the splash hands over: time from the start of the window program until its main window
# is mapped on the screen, over several runs without any click. The splash's timer counts from
# when the splash was loaded, a little after the start, so every figure must be 5000 ms or more.
#   bench/startup/measure-handover.sh [build-dir] [runs]      (runs: 4 by default)
# Runs under a virtual X server of its own when no display is set. Needs xev.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
runs="${2:-4}"

if [ -z "${DISPLAY:-}" ] && [ -z "${QUILLMARK_UNDER_XVFB:-}" ]; then
    QUILLMARK_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$runs"
fi
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

python3 - "$build/bin/quillmark" "$runs" <<'PY'
import subprocess, sys, time

program, runs = sys.argv[1], int(sys.argv[2])
figures = []
for _ in range(runs):
    # Every window mapped on the screen shows up as a MapNotify on the root window.
    watcher = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                               stdout=subprocess.PIPE, text=True, bufsize=1)
    time.sleep(0.5)
    start = time.perf_counter()
    child = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    maps = 0
    for line in watcher.stdout:
        if line.startswith("MapNotify"):
            maps += 1
            if maps == 2:  # the splash first, then the main window
                figures.append((time.perf_counter() - start) * 1e3)
                break
    child.terminate()
    child.wait()
    watcher.terminate()
    watcher.wait()
print("start to main window mapped (ms):", " ".join(f"{f:.0f}" for f in figures))
print(f"shortest {min(figures):.0f} ms: {'never before 5000 ms' if min(figures) >= 5000 else 'TOO EARLY'}")
sys.exit(0 if min(figures) >= 5000 else 1)
PY
