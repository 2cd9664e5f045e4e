#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The window program on the desktops a Debian user meets, driven with the real pointer and keys:
# weston (its X11 backend in this test's virtual X server) with the program on Wayland and on
# weston's XWayland, GNOME's mutter nested the same way where it starts, and twm on X11. On each:
# the splash and its hand-over, the report on the clipboard (Wayland's, read with wl-paste),
# maximising the main window (by its title bar, and where the window manager forces it: by
# mutter's key, by an EWMH request to weston's XWayland), the about box and a message box (the
# program lives, the window keeps its size), and the four settings File > Exit writes.
#   tests/ui/under-xvfb.sh tests/ui/on-desktops.sh <quillmark> [folder for the screenshots]
# Exit code 77 (skipped) only when no compositor starts at all; twm alone still runs its part.
set -uo pipefail
program=${1:?usage: $0 <quillmark> [screenshot folder]}
keep=${2:-}
[ -z "$keep" ] || mkdir -p "$keep"
work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do stop "${pids[i]}"; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
stop() { kill $(pgrep -P "$1") "$1" 2>/dev/null || true; }
trap cleanup EXIT
screen=$DISPLAY # the virtual X server: every compositor's output is a window on it
export XDG_RUNTIME_DIR=$work/runtime && mkdir -m 700 "$XDG_RUNTIME_DIR"
failures=0 desktops=0 splashes_missed=0
fail() {
    echo "FAIL [$desktop]: $*" >&2
    failures=$((failures + 1))
    sed 's/^/    program: /' "$work/$desktop.log" >&2
}
on_screen() { DISPLAY=$screen "$@"; }

# Screenshots are kept uncompressed while the test runs; the ones asked for are kept as PNG.
shot() {
    on_screen import -window root "$work/$1.ppm"
    [ -z "$keep" ] || convert "$work/$1.ppm" "$keep/$desktop-$1.png"
}
# "w h x y" of the pixels of one colour in a screenshot.
box() {
    convert "$work/$1.ppm" -fill black +opaque "$2" -fill white -opaque "$2" -format '%@\n' info: 2>/dev/null |
        sed 's/[x+]/ /g'
}
# The main window's client area: the teal beside the command buttons reaches its top, right
# and bottom edges (a title bar's program icon is teal too, so the left part is not asked).
client() {
    local w h x y
    read -r w h x y < <(box "$1" 'rgb(0,128,128)')
    [ "${w:-0}" -gt 500 ] || return 1
    read -r _ h _ y < <(convert "$work/$1.ppm" -crop "40x2000+$((x + w - 40))+0" +repage \
        -fill black +opaque 'rgb(0,128,128)' -fill white -opaque 'rgb(0,128,128)' \
        -format '%@\n' info: 2>/dev/null | sed 's/[x+]/ /g')
    echo "$w $h $x $y"
}
# "w h x y" of the largest region that changed between two screenshots: a window that opened.
opened() {
    convert "$work/$1.ppm" "$work/$2.ppm" -compose difference -composite -colorspace gray \
        -threshold 1% -define connected-components:verbose=true -connected-components 8 null: |
        awk '$NF == "gray(255)" { split($2, g, /[x+]/); if (g[1] * g[2] > best) {
             best = g[1] * g[2]; b = g[1] " " g[2] " " g[3] " " g[4] } } END { print b }'
}
# How many pixels differ between two screenshots; whether more than a few do (a caret may blink).
differing() { compare -metric AE "$work/$1.ppm" "$work/$2.ppm" null: 2>&1 || true; }
changed() { differing "$1" "$2" | awk '{ exit !($1 > 200) }'; }
# Whether a window of at least w x h opened since the screenshot "before": into $opened_at.
opened_since() {
    local w h
    opened_at=$(opened "$1" "$2")
    read -r w h _ <<<"$opened_at"
    [ "${w:-0}" -gt "$3" ] && [ "${h:-0}" -gt "$4" ]
}
closed_since() { ! opened_since "$@"; }
# Takes screenshots (named by the first argument) until the check given holds on one that shows
# what the one before it showed, pixel for pixel: nothing is moving or still being drawn (a caret
# that blinks meanwhile costs one more). At most about ten seconds.
until_shot() {
    local name=$1
    shift
    rm -f "$work/$name.ppm"
    for _ in $(seq 30); do
        [ ! -e "$work/$name.ppm" ] || mv "$work/$name.ppm" "$work/$name-last.ppm"
        shot "$name"
        cmp -s "$work/$name-last.ppm" "$work/$name.ppm" 2>/dev/null && "$@" && return 0
        sleep 0.1
    done
    return 1
}
# A top-level window of the virtual X server by the start of its name.
window_named() { on_screen xwininfo -root -children | awk -v n="$1" 'index($0, n) { print $1; exit }'; }
# A compositor's window by the start of its name, once the check given holds too: its id, or
# nothing after about twenty seconds.
compositor_window() {
    local name=$1 window
    shift
    for _ in $(seq 100); do
        window=$(window_named "$name")
        [ -n "$window" ] && "$@" && echo "$window" && return
        sleep 0.2
    done
}
# weston's X11 backend moves its pointer by the steps between the motions it sees, so its
# pointer drifts from the real one (a click lands on the desktop, the window loses the
# keyboard); entering its window from the screen's corner, outside every compositor's window,
# puts it where the real one is. What a click or key does is waited for where it is looked at.
click() { on_screen xdotool mousemove 1023 767 mousemove "$1" "$2" click 1; }
# Keys to the compositor's window, or on X11 to the program's window of that caption.
keys() {
    local window=$focus caption=$1
    shift
    [ -n "$window" ] || window=$(xdotool search --onlyvisible --name "$caption" | tail -n1)
    [ -z "$window" ] || on_screen xdotool windowfocus "$window"
    on_screen xdotool key --delay 80 "$@"
}
alive() { kill -0 "$pid" 2>/dev/null || { fail "the program died $1"; return 1; }; }
# A maximise asked for at a window's top-right corner "x y": where a maximise button stands on
# a title bar (Qt's own, a window manager's); a window without one gets a click on its title
# bar there. The compositor answers at once or not at all; the window is looked at after a
# moment in which a protocol error would have ended the program.
maximise_at() { click "$(($1 - 38))" "$(($2 + 13))" && sleep 0.3; }
# A dialog of more than "w h" opens since the screenshot "before" and is maximised: the program
# lives and the dialog keeps its place and size. Then the key given, to the window of the
# caption given, closes it, and the screen is back to what it was before. Returns 1 only when
# the program died.
dialog() {
    local what=$1 before=$2 caption=$5 at w y x
    if ! until_shot "$what" opened_since "$before" "$what" "$3" "$4"; then
        fail "no ${what//-/ }"
        return 0
    fi
    at=$opened_at
    read -r w _ x y <<<"$at"
    maximise_at "$((x + w))" "$y"
    alive "on maximising the ${what//-/ }" || return 1
    # Only the pointer and a menu weston left on the screen may go meanwhile: less than a
    # maximised, moved or resized dialog changes.
    until_shot "$what-after" true
    ! opened_since "$what" "$what-after" 40 40 || fail "the ${what//-/ } at $at changed at $opened_at"
    keys "$caption" "$6"
    until_shot "$what-gone" closed_since "$before" "$what-gone" "$3" "$4" ||
        fail "the ${what//-/ } stays after $6"
}

run_desktop() {
    desktop=$1 focus=$2
    shift 2
    desktops=$((desktops + 1))
    local config=$work/config-$desktop
    env XDG_CONFIG_HOME="$config" "$@" "$program" >"$work/$desktop.log" 2>&1 &
    pid=$!
    local w=0 h x y handed_over=
    for _ in $(seq 60); do
        shot splash
        read -r w h x y < <(box splash 'rgb(0,0,255)') && [ "${w:-0}" -gt 50 ] && break
        # A start slower than the splash's five seconds (a loaded machine): its timer handed over.
        client splash >/dev/null && handed_over=yes && break
        sleep 0.3
    done
    if [ -n "$handed_over" ]; then
        echo "[$desktop] the splash's timer handed over before the first screenshot"
        splashes_missed=$((splashes_missed + 1))
    elif [ "${w:-0}" -le 50 ]; then
        fail "no splash"
        kill "$pid" 2>/dev/null
        return
    else
        # A frame caught at the hand-over itself holds both (a compositor may fade the splash
        # out meanwhile); a second look once the screen is still tells it from a main window
        # shown while the splash still stands.
        if client splash >/dev/null; then
            until_shot splash-again true
            if [[ " $* " == *" QT_QPA_PLATFORM=xcb "* ]]; then
                # weston leaves a gone XWayland window on the screen until something is drawn
                # over its place: there the X server tells which of the windows are shown.
                [ "$(env "$@" xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -gt 1 ] &&
                    fail "the main window is shown beside the splash"
            else
                local still
                read -r still _ < <(box splash-again "rgb(0,0,255)")
                [ "${still:-0}" -gt 50 ] && client splash-again >/dev/null &&
                    fail "the main window is shown beside the splash"
            fi
        fi
        click "$((x + w / 2))" "$((y + h / 2))"
    fi
    local cw ch cx cy
    splash_gone() { client main >/dev/null && ! box main 'rgb(0,0,255)' | awk '$1 > 50 { e = 1 } END { exit !e }'; }
    until_shot main splash_gone
    read -r cw ch cx cy < <(client main) || { fail "no main window after a click on the splash"; kill "$pid"; return; }
    read -r w _ < <(box main 'rgb(0,0,255)') && [ "${w:-0}" -gt 50 ] && fail "the splash stays"

    # The report on the clipboard, confirmed in a message box.
    click "$((cx + 60))" "$((cy + 40))"
    keys '^Quillmark V' ctrl+a BackSpace
    until_shot empty true
    # Keys sent as a compositor hands the keyboard to the window can go nowhere (a loaded
    # machine): then the box is clicked and the text typed once more.
    local try
    for try in 1 2; do
        on_screen xdotool type --delay 20 "0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C"
        until_shot typed changed empty typed && break
        [ "$try" = 2 ] && fail "the typed text does not reach the input box"
        click "$((cx + 60))" "$((cy + 40))"
    done
    click "$((cx + 524))" "$((cy + 260))" # DeBug
    until_shot before-box changed typed before-box
    click "$((cx + 524))" "$((cy + 292))" # Copy Results
    dialog message-box before-box 100 100 '^Quillmark$' Return || return
    if [[ " $* " == *" QT_QPA_PLATFORM=wayland "* ]]; then
        local report
        report=$(env "$@" timeout 5 wl-paste -n 2>/dev/null | tr -d '\r')
        grep -q '0008F5B4' <<<"$report" && grep -q 'READY' <<<"$report" ||
            fail "the report is not on the Wayland clipboard: '$report'"
    fi

    # The about box (the main window active first: a click into its input box), the keys sent
    # once more where they went nowhere.
    for try in 1 2; do
        click "$((cx + 60))" "$((cy + 40))"
        until_shot before-about true
        keys '^Quillmark V' alt+h a
        until_shot about-box opened_since before-about about-box 300 200 && break
    done
    dialog about-box before-about 300 200 '^About Quillmark$' Escape || return

    # The main window: its title bar's maximise place lies above the menu bar. On mutter the
    # compositor forces a maximise too, by its key.
    local at="$cw $ch $cx $cy"
    keeps_size() {
        "${@:2}"
        sleep 0.3
        alive "on $1" || return
        until_shot main-after true
        [ "$(client main-after)" = "$at" ] || fail "$1 changed the main window from $at to $(client main-after)"
    }
    keeps_size "maximising the main window" maximise_at "$((cx + cw))" "$((cy - 48))" || return
    case $desktop in
    mutter-wayland) keeps_size "mutter's maximise key" keys '' super+Up || return ;;
    weston-xwayland)
        # A maximise asked of the window manager by another program (EWMH), which maximises
        # a window of fixed size all the same. twm speaks no EWMH: there it is not tried.
        local id
        id=$(env "$@" xdotool search --onlyvisible --pid "$pid" --name '^Quillmark V' | tail -n1)
        [ -n "$id" ] || fail "the main window is not found on the X server"
        [ -z "$id" ] || keeps_size "a maximise asked for with wmctrl" \
            env "$@" wmctrl -i -r "$id" -b add,maximized_vert,maximized_horz || return
        ;;
    esac

    keys '^Quillmark V' alt+f x
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
    if kill -0 "$pid" 2>/dev/null; then
        fail "File > Exit did not end the program"
        kill "$pid"
    fi
    local settings=$config/Quillmark/Quillmark.conf
    echo "[$desktop] settings: $(tr '\n' ' ' <"$settings" 2>/dev/null)"
    grep -qx 'MainWidth=8790' "$settings" && grep -qx 'MainHeight=6345' "$settings" ||
        fail "the settings hold another size"
    local key value
    for key in MainLeft MainTop; do
        value=$(sed -n "s/^$key=//p" "$settings")
        [[ "$value" =~ ^[0-9]+$ ]] && [ "$value" -lt 30000 ] || fail "$key is '$value'"
    done
    grep -i 'protocol error' "$work/$desktop.log" && fail "a protocol error"
}

# ---- X11 under twm ----
run_desktop x11 "" QT_QPA_PLATFORM=xcb

# ---- weston: Wayland and XWayland ----
cat >"$work/weston.ini" <<'INI'
[shell]
background-color=0xff204060
panel-position=none
# No on-screen keyboard over the window whenever its input box takes the focus.
[input-method]
path=
INI
DISPLAY=$screen weston --backend=x11-backend.so --width=1000 --height=740 --socket=quillmark-weston \
    --xwayland --idle-time=0 --config="$work/weston.ini" --log="$work/weston.log" &
pids+=($!)
weston_window=$(compositor_window '"Weston Compositor' grep -q 'launching.*desktop-shell' "$work/weston.log")
xwayland=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log")
if [ -n "$weston_window" ] && [ -S "$XDG_RUNTIME_DIR/quillmark-weston" ]; then
    # weston starts XWayland when its first client comes: this one, while the Wayland part runs.
    [ -z "$xwayland" ] || (DISPLAY=$xwayland timeout 60 xwininfo -root >/dev/null 2>&1 &)
    desktop=weston
    until_shot ready eval 'box ready "rgb(32,64,96)" | awk "\$1 > 500 { e = 1 } END { exit !e }"' ||
        echo "weston's background is not seen" >&2
    run_desktop weston-wayland "$weston_window" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=quillmark-weston
    if [ -n "$xwayland" ]; then
        run_desktop weston-xwayland "$weston_window" QT_QPA_PLATFORM=xcb DISPLAY="$xwayland" \
            WAYLAND_DISPLAY=quillmark-weston
    else
        echo "weston started without XWayland: its X11 side is not tried" >&2
    fi
    stop "${pids[-1]}"
    unset 'pids[-1]'
else
    echo "weston does not start here: $(tail -n3 "$work/weston.log" 2>/dev/null)" >&2
fi

# ---- mutter, GNOME's compositor, nested (Wayland only) ----
DISPLAY=$screen dbus-run-session -- mutter --nested --wayland --no-x11 \
    --wayland-display=quillmark-mutter >"$work/mutter.log" 2>&1 &
pids+=($!)
mutter_window=$(compositor_window '"mutter"' test -S "$XDG_RUNTIME_DIR/quillmark-mutter")
if [ -n "$mutter_window" ]; then
    run_desktop mutter-wayland "$mutter_window" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=quillmark-mutter
else
    echo "mutter does not start nested here: $(tail -n3 "$work/mutter.log")" >&2
fi

echo "$desktops desktops tried, $failures failures"
[ "$splashes_missed" -lt "$desktops" ] || fail "the splash was not seen anywhere"
[ "$failures" -eq 0 ] || exit 1
[ "$desktops" -gt 1 ] || exit 77
