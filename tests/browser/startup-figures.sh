#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up time and peak memory of the window program, whole process, under a virtual X server:
# from exec until its first window is painted (the main window is built, hidden, before that
# window shows), for each build tree given, e.g. one with and one without the browser:
#   tests/browser/startup-figures.sh build-with-browser build-without-browser
# Beside them the bare Qt Widgets program of bench/startup, if the first build tree has it. All
# programs are timed in one alternating series, so that other work on the machine falls on all.
# Needs xvfb-run, hyperfine and GNU time.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 <build dir>..." >&2; exit 2; }
names=() commands=()
first=$(cd "$1" && pwd)
if [ -x "$first/bin/bench_bare_window" ]; then
    names+=(bare)
    commands+=("$first/bin/bench_bare_window")
fi
for build in "$@"; do
    program="$(cd "$build" && pwd)/bin/quillmark"
    [ -x "$program" ] || { echo "no window program at $program" >&2; exit 2; }
    names+=("quillmark ($(basename "$build"))")
    commands+=("$program")
done

export QUILLMARK_EXIT_ON_FIRST_PAINT=1
# The window program must not touch the settings of whoever runs the measurement.
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" RESULTS="$work/times.json" PEAKS="$work/peaks"
trap 'rm -rf "$work"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" bash -euo pipefail -c '
    count=$(($# / 2)); names=("${@:1:count}"); commands=("${@:count+1}")
    arguments=()
    for i in "${!names[@]}"; do arguments+=(--command-name "${names[$i]}" "${commands[$i]}"); done
    hyperfine --style none --warmup 3 --runs 30 --export-json "$RESULTS" "${arguments[@]}" >/dev/null
    # Median of the peak resident set size over 15 runs, one line per program.
    for command in "${commands[@]}"; do
        for _ in $(seq 15); do /usr/bin/time -f %M $command 2>&1 >/dev/null | tail -n1; done |
            sort -n | sed -n 8p
    done > "$PEAKS"
' figures "${names[@]}" "${commands[@]}"

python3 - "$RESULTS" "$PEAKS" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
peaks = [int(line) for line in open(sys.argv[2])]
print(f"{'':32} {'median ms':>10} {'stddev':>8} {'cpu ms':>8} {'peak RSS KiB':>13}")
for r, peak in zip(results, peaks):
    cpu = (r["user"] + r["system"]) * 1e3
    print(f"{r['command']:32} {r['median']*1e3:10.1f} {r['stddev']*1e3:8.1f} {cpu:8.1f} {peak:13d}")
PY
