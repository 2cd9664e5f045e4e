#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The browser window's address box driven as a user drives it, on a virtual X server with a
# window manager: Web > Nortel Home opens a browser window on a local page (the corporate host
# is mapped to a page server on this machine); a click in the address box, select all, an
# address typed, Return (then keypad Enter for another): each address is asked of the server
# exactly once and its page title becomes the caption. An address whose server stalls shows
# "Working..." until it answers. Screenshots are left where asked.
#   tests/browser/address-box-under-xvfb.sh <build dir> [screenshot directory]
# Needs Xvfb, twm, xdotool, ImageMagick's import and python3. The virtual X server takes the
# display named by QUILLMARK_TEST_DISPLAY (":11"), else the first free one.
set -euo pipefail
build=$(cd "${1:?usage: $0 <build dir> [screenshot directory]}" && pwd)
shots="${2:-}"
program="$build/bin/quillmark"
[ -x "$program" ] || { echo "no window program at $program" >&2; exit 2; }

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    {
        echo "windows on the display:"
        for window in $(xdotool search --name '' 2>/dev/null); do
            echo "  $window \"$(xdotool getwindowname "$window" 2>/dev/null)\""
        done
        kill -0 "${program_pid:-0}" 2>/dev/null || echo "the program is not running"
        echo "what the program printed:"
        sed 's/^/  /' "$work/program.log" 2>/dev/null
    } >&2
    exit 1
}

# Pages by path; /stall.html is answered only once the file "release" exists.
cat > "$work/server.py" <<'PY'
import http.server, os, sys, time
work = sys.argv[1]
titles = {"/": "Nortel Home (local test page)", "/page2.html": "Page Two",
          "/page3.html": "Page Three", "/stall.html": "Late Page"}
class Pages(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(os.path.join(work, "requests"), "a") as log:
            log.write(self.path + "\n")
        if self.path == "/stall.html":
            while not os.path.exists(os.path.join(work, "release")):
                time.sleep(0.05)
        title = titles.get(self.path)
        body = (f"<!DOCTYPE html><html><head><title>{title or 'Not found'}</title></head>"
                f"<body style='font-family: sans-serif'><h1>{title or 'Not found'}</h1></body></html>").encode()
        self.send_response(200 if title else 404)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Pages)
with open(os.path.join(work, "port"), "w") as f:
    f.write(str(server.server_address[1]))
server.serve_forever()
PY
python3 "$work/server.py" "$work" & pids+=($!)
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
port=$(cat "$work/port")
requests() { grep -cx "$1" "$work/requests" || true; }

# A display of our own, and a window manager that places windows without asking.
if [ -n "${QUILLMARK_TEST_DISPLAY:-}" ]; then
    Xvfb "$QUILLMARK_TEST_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
    echo "${QUILLMARK_TEST_DISPLAY#:}" > "$work/display"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${QUILLMARK_TEST_DISPLAY#:}" ] && break; sleep 0.05; done
else
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null & pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
fi
export DISPLAY=":$(cat "$work/display")"
printf 'RandomPlacement\nUsePPosition "on"\n' > "$work/twmrc"
twm -f "$work/twmrc" >/dev/null 2>&1 & pids+=($!)

export XDG_CONFIG_HOME="$work/config"
export QTWEBENGINE_CHROMIUM_FLAGS="--host-resolver-rules=MAP www.nortel.com 127.0.0.1:$port"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
"$program" >"$work/program.log" 2>&1 & pids+=($!)
program_pid=$!

waitForCaption() {  # window caption
    for _ in $(seq 300); do
        [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ] && return 0
        sleep 0.1
    done
    fail "caption is \"$(xdotool getwindowname "$1" 2>/dev/null)\", not \"$2\""
}
shoot() { [ -z "$shots" ] || { import -window root "$shots/$1.png" && echo "screenshot: $shots/$1.png"; }; }

# A search walks the window tree, and a window that closes meanwhile (the splash handing over)
# makes one walk fail: search again until the window is there.
findWindow() {  # name pattern
    local found
    for _ in $(seq 600); do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    fail "no window named $1"
}

main=$(findWindow "^Quillmark V")
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+w n
browser=$(findWindow "^Nortel Home \(local test page\)$")
echo "browser window: $(xdotool getwindowname "$browser")"
[ "$(requests /)" -eq 1 ] || fail "the home page was asked for $(requests /) times"

# Click into the address box (left in the panel below the toolbar), select all, type, Enter.
typeAddress() {  # address key
    xdotool windowactivate --sync "$browser" 2>/dev/null || xdotool windowfocus --sync "$browser"
    xdotool mousemove --window "$browser" 200 68 click 1
    sleep 0.3
    xdotool key ctrl+a
    xdotool type --delay 20 "$1"
    xdotool key "$2"
}

typeAddress "http://www.nortel.com/page2.html" Return
waitForCaption "$browser" "Page Two"
[ "$(requests /page2.html)" -eq 1 ] || fail "Return: /page2.html asked for $(requests /page2.html) times"
echo "Return: one request for /page2.html, caption \"Page Two\""

typeAddress "http://www.nortel.com/page3.html" KP_Enter
waitForCaption "$browser" "Page Three"
[ "$(requests /page3.html)" -eq 1 ] || fail "keypad Enter: /page3.html asked for $(requests /page3.html) times"
echo "keypad Enter: one request for /page3.html, caption \"Page Three\""

typeAddress "http://www.nortel.com/stall.html" Return
for _ in $(seq 100); do [ "$(requests /stall.html)" -ge 1 ] && break; sleep 0.1; done
sleep 1
caption=$(xdotool getwindowname "$browser")
[ "$caption" = "Working..." ] || fail "while the server stalls the caption is \"$caption\""
echo "stalling server: caption \"Working...\""
shoot browser-working
touch "$work/release"
waitForCaption "$browser" "Late Page"
[ "$(requests /stall.html)" -eq 1 ] || fail "/stall.html asked for $(requests /stall.html) times"
echo "server answered: caption \"Late Page\""
sleep 0.5
shoot browser-loaded

# Leaving the box by a click into the page navigates nowhere.
before=$(wc -l < "$work/requests")
xdotool mousemove --window "$browser" 300 300 click 1
sleep 1
[ "$(wc -l < "$work/requests")" -eq "$before" ] || fail "leaving the address box asked the server again"

xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+f x
for _ in $(seq 100); do kill -0 "${pids[-1]}" 2>/dev/null || break; sleep 0.1; done
kill -0 "${pids[-1]}" 2>/dev/null && fail "program still running after File > Exit"
echo "PASS"
