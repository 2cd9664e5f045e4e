#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian package of a build on a clean Debian of the given release and runs both
# programs there, the way a user who has nothing but the package would. Needs root, debootstrap
# and the network.
#
#   packaging/check-clean-debian.sh bookworm|trixie BUILD_DIR [CHROOT_DIR]
#
# BUILD_DIR is a finished build made on that release; its package is made with cpack if it is
# not there yet. CHROOT_DIR (default /tmp/quillmark-RELEASE) is made fresh with debootstrap and
# removed after. A screenshot of the main and browser windows is written to SCREENSHOT_DIR
# (default: the current directory) as clean-RELEASE-windows.png. Set KEEP_CHROOT=1 to keep the
# tree for a look around.
# The tree is made from the Debian archive this machine's apt uses (packaging/debian-archive.sh);
# DEBIAN_MIRROR and DEBIAN_SECURITY_MIRROR name others.
set -euo pipefail

# The whole script is read before it runs, so that editing the file meanwhile cannot change a
# run in progress.
main() {
    usage="usage: check-clean-debian.sh bookworm|trixie BUILD_DIR [CHROOT_DIR]"
    release="${1:-}"
    case "$release" in
        bookworm|trixie) ;;
        *) echo "$usage" >&2; exit 2 ;;
    esac
    build="$(cd "${2:?$usage}" && pwd)"
    root="${3:-/tmp/quillmark-$release}"
    shots="$(cd "${SCREENSHOT_DIR:-.}" && pwd)"

    say() { printf '\n== %s\n' "$*"; }
    die() { echo "check-clean-debian: $*" >&2; exit 1; }
    in_root() { chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"; }

    [ "$(id -u)" -eq 0 ] || die "needs root (debootstrap and chroot)"
    command -v debootstrap >/dev/null || die "needs debootstrap (apt-get install debootstrap)"
    [ -e "$root" ] && die "$root exists already; remove it or name another directory"
    source "$(dirname "${BASH_SOURCE[0]}")/debian-archive.sh"
    debian_archive || die "no archive to make the tree from"

    version=$(grep -m1 -o 'CPACK_PACKAGE_VERSION "[^"]*"' "$build/CPackConfig.cmake" | cut -d'"' -f2)
    deb=$(ls "$build"/quillmark_"$version"-*_*.deb 2>/dev/null | head -n 1 || true)
    if [ -z "$deb" ]; then
        say "Building the package"
        (cd "$build" && cpack -G DEB)
        deb=$(ls "$build"/quillmark_"$version"-*_*.deb | head -n 1)
    fi
    echo "package: $deb"

    cleanup() {
        local proc
        for proc in /proc/[0-9]*; do  # what the checks left running in the tree
            case "$(readlink "$proc/root" 2>/dev/null)" in
                "$root"|"$root"/*) kill -KILL "${proc#/proc/}" 2>/dev/null || true ;;
            esac
        done
        for mount in "$root/dev/shm" "$root/dev/pts" "$root/sys" "$root/proc"; do
            if mountpoint -q "$mount"; then
                umount "$mount" 2>/dev/null || umount --lazy "$mount" || echo "could not unmount $mount" >&2
            fi
        done
        if [ "${KEEP_CHROOT:-0}" != 1 ] && ! grep -qF " $root/" /proc/mounts; then
            rm -rf --one-file-system "$root"
        fi
    }
    trap cleanup EXIT

    say "Making a clean Debian $release in $root"
    nice debootstrap --variant=minbase "$release" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 \
        || die "debootstrap failed, see $root.debootstrap.log"
    rm -f "$root.debootstrap.log"
    archive_sources "$release" >"$root/etc/apt/sources.list"
    archive_proxy "$root"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    mkdir -p "$root/dev/pts" && mount -t devpts devpts "$root/dev/pts"
    mkdir -p "$root/dev/shm" && mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
    in_root apt-get update -q >/dev/null

    say "Installing $(basename "$deb") with apt"
    cp "$deb" "$root/root/"
    in_root apt-get install -y -q "/root/$(basename "$deb")" | grep -E 'newly installed|^E:' || true
    in_root dpkg -s quillmark | grep -E '^(Status|Version):'

    failures=0
    check() {  # check DESCRIPTION WANT GOT
        if [ "$2" = "$3" ]; then echo "ok:   $1"; else
            echo "FAIL: $1: got '$3', want '$2'"; failures=$((failures + 1)); fi
    }

    say "Running the installed programs"
    # The first line names program and version; copyright and licence lines follow it.
    check "quillmark --version without a display" "quillmark $version" \
        "$(in_root quillmark --version 2>&1 | head -n 1)"
    check "quillmark-decode --version" "quillmark-decode $version" \
        "$(in_root quillmark-decode --version 2>&1 | head -n 1)"

    # The browser window's toolbar pictures are SVG, drawn by Qt's SVG plugins, which the package
    # must bring in whatever the release calls their package.
    for plugin in imageformats/libqsvg.so iconengines/libqsvgicon.so; do
        check "Qt's SVG plugin $plugin installed with the package" yes \
            "$(in_root sh -c "ls /usr/lib/*/qt6/plugins/$plugin" >/dev/null 2>&1 && echo yes || echo no)"
    done

    dump='0008F5B4 00000102 00001A48 0008F6C0 0008F4A8 00000000 00000000 00000000 00000000 0000000A'
    # The build's own decoder, run in the clean tree (it was built on the same release), is the
    # reference the installed one must match.
    cp "$build/bin/quillmark-decode" "$root/root/reference-decode"
    want=$(printf '%s\n' "$dump" | in_root /root/reference-decode)
    got=$(printf '%s\n' "$dump" | in_root quillmark-decode)
    check "installed quillmark-decode decodes a dump as the build does" "$want" "$got"
    printf '%s\n' "$got"

    missing=$(in_root sh -c 'ldd /usr/bin/quillmark* /usr/lib/*quillmark/* /usr/lib/*/quillmark/* 2>/dev/null | grep "not found"' || true)
    check "every library the programs and the module link is installed" "" "$missing"

    say "Showing the window on a virtual X server, then a page from the Web menu"
    in_root apt-get install -y -q --no-install-recommends xvfb xauth x11-utils x11-apps xdotool >/dev/null 2>&1
    # Web, Nortel Home opens the browser window, which loads the engine module on first use. The
    # screen is then saved, for a person to look at the windows and the toolbar pictures.
    windows=$(in_root xvfb-run -a -s '-screen 0 1280x1024x24' sh -c 'quillmark & pid=$!; sleep 10
        main=$(xdotool search --name "^Quillmark V" | head -n 1)
        xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
        sleep 1; xdotool key --window "$main" alt+w; sleep 1; xdotool key n; sleep 15
        xwininfo -root -tree | grep -F "(\"quillmark\" " | grep -v " 1x1+"
        xwd -root -silent >/root/screen.xwd; kill $pid' 2>/dev/null)
    echo "$windows"
    check "main window shown with its caption" "Quillmark V${version%.*} Rev:${version##*.}" \
        "$(sed -n 's/^ *0x[0-9a-f]* "\(Quillmark V[^"]*\)".*/\1/p' <<<"$windows")"
    others=$(grep -vc '"Quillmark V' <<<"$windows" || true)
    check "browser window opened from the Web menu" yes "$([ "$others" -ge 1 ] && echo yes || echo no)"
    shot="$shots/clean-$release-windows"
    if [ -s "$root/root/screen.xwd" ]; then
        if command -v convert >/dev/null; then
            convert "xwd:$root/root/screen.xwd" "$shot.png" && echo "screenshot: $shot.png"
        else
            cp "$root/root/screen.xwd" "$shot.xwd" && echo "screenshot: $shot.xwd (ImageMagick's convert makes a PNG)"
        fi
    fi

    say "Removing the package"
    in_root apt-get remove -y -q quillmark >/dev/null
    left=$(in_root sh -c 'ls -d /usr/bin/quillmark* /usr/share/applications/*uillmark* 2>/dev/null' || true)
    check "nothing of the package left after removal" "" "$left"

    if command -v lintian >/dev/null; then
        say "lintian"
        lintian --pedantic --display-info --tag-display-limit 0 "$deb" 2>&1 || true
    fi

    say "Result"
    if [ $failures -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
    echo "all checks passed"
}

main "$@"
