#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What a screen reader is told about the main window, through the desktop's accessibility bus
# (AT-SPI), with the real window program under a virtual X server: pastes the worked example,
# decodes it, prints for every field its name, role, text and description in the order a
# reader walks them, and fails unless each result is named by its caption, reads its value as
# its text, and the two pointers say that they differ.
#   tests/shell/screen-reader-under-xvfb.sh <build dir> [display, default :41]
# Needs xvfb, twm, xdotool, xclip, dbus (dbus-run-session), at-spi2-core and python3-pyatspi.
set -euo pipefail
build=$(cd "${1:?usage: $0 <build dir> [display]}" && pwd)
display="${2:-:41}"
program="$build/bin/quillmark"
[ -x "$program" ] || { echo "no window program at $program" >&2; exit 2; }

if [ -z "${QUILLMARK_ON_SESSION_BUS:-}" ]; then
    # A bus of our own, so that the accessibility bus starts fresh and goes with it.
    QUILLMARK_ON_SESSION_BUS=1 exec dbus-run-session -- "$0" "$build" "$display"
fi

work=$(mktemp -d)
pids=()
finish() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
kill -0 "${pids[0]}" 2>/dev/null || { echo "display $display is taken" >&2; exit 2; }
printf 'RandomPlacement\nUsePPosition "on"\nNoGrabServer\n' >"$work/twmrc"
twm -f "$work/twmrc" >/dev/null 2>&1 &
pids+=($!)
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
pids+=($!)
sleep 1

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_CONFIG_HOME="$work/config" "$program" >"$work/program.log" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quillmark V' | head -n 1)
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$window"
sleep 0.5
printf '%s' "0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 00090020 00000000 00000000 00000000 000003E5 0000B1A3" |
    xclip -selection clipboard 2>/dev/null
xdotool key --clearmodifiers ctrl+v
sleep 0.3
xdotool key --clearmodifiers Tab space  # Tab from the input box reaches DeBug
sleep 1

timeout 60 /usr/bin/python3 - <<'PY'
import sys
import pyatspi

expected = [  # name, text, description
    ("Call Register", "0008F5B4", ""), ("Main PM", "READY", ""), ("AUX PM", "DISA_READY", ""),
    ("OrigType", "XTD_UNIT", ""), ("TermType", "UNKNOWN", ""),
    ("OrigTN", "Use LD 32 to Convert TN H.0421", ""), ("TermTN", "Use LD 32 to Convert TN H.0422", ""),
    ("Queue", "QU_IDLE", ""), ("CR Fwd Link", "00090010", ""), ("CR Back Link", "00090020", ""),
    ("Aux CR", "00000000", ""), ("CR Dialed", "00000000", ""),
    ("Digit Load", "H.00101 (DEC: 5)", "differs from Digit UnLoad pointer"),
    ("Digit UnLoad", "H.11111 (DEC: 31)", "differs from Digit Load pointer"),
    ("Digits Dialed", "301B", ""),
]

def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, text.characterCount)

def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)

apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "Quillmark"]
if not apps:
    sys.exit("Quillmark is not on the accessibility bus")
frame = apps[0].getChildAtIndex(0)
print(f"window: {frame.getRoleName()} {frame.name!r}")
fields = []
for node in walk(frame):
    text = text_of(node)
    if node.getRoleName() == "text":
        print(f"input box: {node.name!r}, {node.description!r}")
    if node.getRoleName() == "label" and text is not None:
        fields.append((node.name, text, node.description))
        spoken = ", ".join(part for part in (node.name, node.getRoleName(), text, node.description) if part)
        print(f"  {spoken}")
if fields != expected:
    sys.exit(f"fields differ from the worked example:\n{fields}")
markup = [f for f in fields if "<" in f[2]]
if markup:
    sys.exit(f"descriptions with markup: {markup}")
print("screen reader check: 15 fields named by their captions, values as text, pointers differ in words")
PY
