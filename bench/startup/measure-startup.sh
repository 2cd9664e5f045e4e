#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up of the window program beside a bare Qt Widgets program, as whole processes: time
# from start until the first window (the splash) is painted on the screen, peak memory, and the
# libraries the window program has mapped at that point that the bare program has not.
#   bench/startup/measure-startup.sh [build-dir] [runs]
# Runs under a virtual X server of its own when no display is set.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
runs="${2:-40}"

if [ -z "${DISPLAY:-}" ] && [ -z "${QUILLMARK_UNDER_XVFB:-}" ]; then
    QUILLMARK_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$runs"
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
results=$(mktemp)

echo "== Time until the first window is on the screen ($runs runs each, alternating)"
hyperfine --style basic --warmup 5 --runs "$runs" --export-json "$results" \
    --command-name bare "$bare" --command-name "bare+label" "$bare --label" \
    --command-name quillmark "$program"

# Median of the maximum resident set size, in KiB, over the runs.
peak_rss() {
    for _ in $(seq "$runs"); do
        /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
    done | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

echo "== Peak memory (median of $runs runs, max RSS)"
bare_rss=$(peak_rss "$bare")
label_rss=$(peak_rss "$bare" --label)
program_rss=$(peak_rss "$program")

# Shared libraries and plugins the window program has mapped while its splash shows that the
# bare program with a label has not: each is start-up work the bare program does not do.
mapped_libraries() {
    unset QUILLMARK_EXIT_ON_FIRST_PAINT
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 2
    grep -o '/[^ ]*\.so[.0-9]*$' "/proc/$pid/maps" | sort -u
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}
echo "== Libraries mapped at the splash beyond the bare program with a label"
extra=$(comm -13 <(mapped_libraries "$bare" --label) <(mapped_libraries "$program"))
echo "${extra:-(none)}" | sed 's/^/   /'

python3 - "$results" "$bare_rss" "$label_rss" "$program_rss" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
rss = dict(zip(["bare", "bare+label", "quillmark"], map(int, sys.argv[2:5])))
# CPU time (user + system) moves less than wall time when other work shares the machine.
cpu = {name: (r["user"] + r["system"]) * 1e3 for name, r in results.items()}
print(f"{'':11} {'median ms':>10} {'mean ms':>9} {'stddev':>7} {'cpu ms':>7} {'max RSS KiB':>12}")
for name in rss:
    r = results[name]
    print(f"{name:11} {r['median']*1e3:10.1f} {r['mean']*1e3:9.1f} {r['stddev']*1e3:7.1f}"
          f" {cpu[name]:7.1f} {rss[name]:12d}")
program = results["quillmark"]
for name in ["bare", "bare+label"]:
    print(f"quillmark / {name:10}  time {program['median'] / results[name]['median']:.2f}x"
          f"   cpu {cpu['quillmark'] / cpu[name]:.2f}x"
          f"   memory {rss['quillmark'] / rss[name]:.2f}x   (target: within 1.20x)")
PY
rm -f "$results"
