#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a window test on a virtual X server of its own with a window manager, so that the real
# pointer and keyboard (xdotool) reach the window the way a window system sends them.
#   tests/ui/under-xvfb.sh <test program> [arguments...]
# Needs Xvfb and twm; the test itself uses xdotool and ImageMagick's import.
set -euo pipefail
work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null & pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "under-xvfb: no virtual X server" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"
printf 'RandomPlacement\nUsePPosition "on"\nNoGrabServer\n' >"$work/twmrc"
twm -f "$work/twmrc" >/dev/null 2>&1 & pids+=($!)
sleep 0.5

export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config"
unset WAYLAND_DISPLAY QT_QPA_PLATFORMTHEME
"$@"
