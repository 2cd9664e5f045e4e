#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up of the window program beside the bare Qt Widgets program (one QLabel("hello") of
# 586 x 423), as whole processes under a virtual X server: time from start until the first
# window is on the screen, and peak resident memory, measured in the same runs. The two
# programs take turns, so that other work on the machine falls on both alike; the figures are
# medians. Then the libraries the window program has mapped at its splash that the bare
# program has not.
#   bench/startup/measure-startup.sh [build-dir] [runs] [other-quillmark...]   (runs: 7 by default)
# Other window programs given (an older build, say) take their turns in the same series.
# Runs under a virtual X server of its own when no display is set.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
runs="${2:-7}"
others=("${@:3}")

if [ -z "${DISPLAY:-}" ] && [ -z "${QUILLMARK_UNDER_XVFB:-}" ]; then
    QUILLMARK_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$runs" "${others[@]}"
fi

program="$build/bin/quillmark"
bare="$build/bin/bench_bare_window"
for binary in "$program" "$bare"; do
    [ -x "$binary" ] || { echo "missing $binary: build the targets quillmark and bench_bare_window" >&2; exit 1; }
done

export QUILLMARK_EXIT_ON_FIRST_PAINT=1
# The window program must not touch the settings of whoever runs the measurement.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

python3 - "$runs" "$bare" "$program" "${others[@]}" <<'PY'
import os, statistics, subprocess, sys, time

runs = int(sys.argv[1])
programs = {"bare": sys.argv[2], "quillmark": sys.argv[3]}
for n, other in enumerate(sys.argv[4:], 1):
    programs[f"other {n}"] = other

def once(path):
    """Wall time in ms until the process ends at its first painted window, and its peak RSS."""
    start = time.perf_counter()
    child = subprocess.Popen([path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    elapsed = (time.perf_counter() - start) * 1e3
    if status != 0:
        sys.exit(f"{path} ended with status {status}")
    return elapsed, usage.ru_maxrss, (usage.ru_utime + usage.ru_stime) * 1e3

for path in programs.values():  # warm the file cache
    for _ in range(3):
        once(path)
samples = {name: [] for name in programs}
for _ in range(runs):
    for name, path in programs.items():
        samples[name].append(once(path))

print(f"== {runs} runs each, alternating; medians")
for name, path in programs.items():
    print(f"{name:10} {path}")
print(f"{'':10} {'ms to first window':>19} {'cpu ms':>7} {'peak RSS KiB':>13}   all times (ms)")
medians = {}
for name, values in samples.items():
    ms = statistics.median(v[0] for v in values)
    rss = statistics.median(v[1] for v in values)
    cpu = statistics.median(v[2] for v in values)
    medians[name] = (ms, rss)
    every = " ".join(f"{v[0]:.0f}" for v in values)
    print(f"{name:10} {ms:19.1f} {cpu:7.1f} {rss:13.0f}   {every}")
for name in programs:
    if name == "bare":
        continue
    time_ratio = medians[name][0] / medians["bare"][0]
    rss_ratio = medians[name][1] / medians["bare"][1]
    print(f"{name} / bare: time x{time_ratio:.2f} (target at most x1.10), "
          f"peak RSS x{rss_ratio:.2f} (target at most x1.20)")
PY

# Shared libraries and plugins the window program has mapped while its splash shows that the
# bare program has not: each is start-up work the bare program does not do.
mapped_libraries() {
    unset QUILLMARK_EXIT_ON_FIRST_PAINT
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 2
    grep -o '/[^ ]*\.so[.0-9]*$' "/proc/$pid/maps" | sort -u
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}
echo "== Libraries mapped at the splash beyond the bare program"
extra=$(comm -13 <(mapped_libraries "$bare") <(mapped_libraries "$program"))
echo "${extra:-(none)}" | sed 's/^/   /'
