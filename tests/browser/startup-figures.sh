#!/usr/bin/env bash
# Start-up time and peak memory of the window program, whole process, under a virtual X server:
# from exec until its first window is painted (the main window is built, hidden, before that
# window shows), for each build tree given, e.g. one with and one without the browser:
#   tests/browser/startup-figures.sh build-with-browser build-without-browser
# Needs xvfb-run, hyperfine and GNU time.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 <build dir>..." >&2; exit 2; }
programs=()
for build in "$@"; do
    program="$(cd "$build" && pwd)/bin/quillmark"
    [ -x "$program" ] || { echo "no window program at $program" >&2; exit 2; }
    programs+=("$program")
done

export QUILLMARK_EXIT_ON_FIRST_PAINT=1
xvfb-run -a -s "-screen 0 1280x1024x24" bash -euo pipefail -c '
    for program in "$@"; do
        echo "== $program"
        if ldd "$program" | grep -q "libQt6WebEngine"; then echo "links the web engine"; else echo "does not link the web engine"; fi
        hyperfine --style basic --warmup 3 --runs 30 "$program" 2>&1 | grep -E "Time|Range"
        peaks=$(for _ in $(seq 15); do /usr/bin/time -f "%M" "$program" 2>&1 >/dev/null | tail -n1; done | sort -n)
        echo "peak RSS over 15 runs (KiB): median $(echo "$peaks" | sed -n 8p), min $(echo "$peaks" | head -n1), max $(echo "$peaks" | tail -n1)"
    done
' figures "${programs[@]}"
