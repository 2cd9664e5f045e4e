#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the Web menu with the real window program under a virtual X server: Web > Nortel Home
# opens a browser window on a local page (the corporate host is mapped to a server on this
# machine by a web engine option given on the program's command line, which the program passes
# on), its caption becomes the page title, and File > Exit closes it with the program.
#   tests/browser/web-menu-under-xvfb.sh <build dir> [screenshot.png]
# On the way it reports what of the web engine and of the OpenGL driver (Mesa, LLVM) is mapped
# into the program before and after the browser window opens, and fails if any of it is there
# before; and it reports the memory of the program and its web engine processes. Run it with
# QT_XCB_GL_INTEGRATION=none for a system without OpenGL.
# Needs xvfb-run, xdotool, ImageMagick's import and python3 (for the page server).
set -euo pipefail
build=$(cd "${1:?usage: $0 <build dir> [screenshot.png]}" && pwd)
shot="${2:-$PWD/web-menu.png}"
program="$build/bin/quillmark"
[ -x "$program" ] || { echo "no window program at $program" >&2; exit 2; }

work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
cat > "$work/index.html" <<'PAGE'
<!DOCTYPE html><html><head><title>Nortel Home (local test page)</title></head>
<body style="font-family: sans-serif"><h1>Nortel Home</h1><p>Served from this machine.</p></body></html>
PAGE
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work" > "$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do grep -q "port" "$work/server.log" && break; sleep 0.1; done
port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/server.log" | head -n1)
[ -n "$port" ] || { echo "page server did not start" >&2; exit 2; }

# The rule holds blanks, so it cannot travel in QTWEBENGINE_CHROMIUM_FLAGS, which is split at
# them; the web engine takes its own options from the command line after --webEngineArgs.
export RULES="--host-resolver-rules=MAP www.nortel.com 127.0.0.1:$port"
export PROGRAM="$program" SHOT="$shot" STDERR="$work/stderr"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -euo pipefail -c '
    "$PROGRAM" --webEngineArgs "$RULES" 2> >(tee "$STDERR" >&2) & program=$!
    # Mapped files of the web engine, the OpenGL driver and its compiler, one count each.
    mapped() {
        local maps="/proc/$program/maps"
        echo "web engine $(grep -c libQt6WebEngineCore "$maps" || true)," \
             "Mesa $(grep -cE "libGLX_mesa|libEGL_mesa|_dri\.so|libgallium" "$maps" || true)," \
             "LLVM $(grep -c libLLVM "$maps" || true)"
    }
    # Memory of the program and of the web engine processes it started, in MiB.
    memory() {
        local pids="$program" more="$program" p
        while [ -n "$more" ]; do
            more=$(for p in $more; do pgrep -P "$p" || true; done); pids="$pids $more"
        done
        local main_rss main_peak pss=0
        main_rss=$(awk "/^VmRSS/ {print int(\$2/1024)}" "/proc/$program/status")
        main_peak=$(awk "/^VmHWM/ {print int(\$2/1024)}" "/proc/$program/status")
        for p in $pids; do
            pss=$((pss + $(awk "/^Pss:/ {print \$2}" "/proc/$p/smaps_rollup" 2>/dev/null || echo 0)))
        done
        echo "program RSS ${main_rss} MiB (peak ${main_peak} MiB); $(echo $pids | wc -w) processes, PSS together $((pss / 1024)) MiB"
    }
    main=$(timeout 60 xdotool search --sync --onlyvisible --name "^Quillmark V" | head -n1)
    echo "main window: $(xdotool getwindowname "$main")"
    before=$(mapped)
    echo "mapped before the Web menu: $before"
    if [ "$before" != "web engine 0, Mesa 0, LLVM 0" ]; then
        echo "the main window already carries the web engine or the OpenGL driver" >&2; kill "$program"; exit 1
    fi
    echo "memory with the main window: $(memory)"
    xdotool windowfocus --sync "$main"
    xdotool key --delay 200 alt+w n
    browser=$(timeout 60 xdotool search --sync --onlyvisible --name "^Nortel Home \(local test page\)$" | head -n1)
    echo "browser window caption: $(xdotool getwindowname "$browser")"
    sleep 2
    echo "mapped with a browser window: $(mapped)"
    echo "memory with a browser window: $(memory)"
    import -window root "$SHOT"
    echo "screenshot: $SHOT"
    xdotool windowfocus --sync "$main"
    xdotool key --delay 200 alt+f x
    for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$program" 2>/dev/null; then echo "program still running after File > Exit" >&2; kill "$program"; exit 1; fi
    wait "$program" && echo "program ended after File > Exit"
    # The engine start-up report stays off the terminal unless asked for.
    if grep -q "Init Parameters" "$STDERR"; then echo "the engine reported its start-up" >&2; exit 1; fi
'
grep -q '"GET / ' "$work/server.log" && echo "page server answered the browser's request for /"
