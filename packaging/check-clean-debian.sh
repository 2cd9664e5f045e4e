#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian package of a build on a clean Debian 12 and runs both programs there, the
# way a user who has nothing but the package would. Needs root, debootstrap and the network.
#
#   packaging/check-clean-debian.sh BUILD_DIR [CHROOT_DIR]
#
# BUILD_DIR is a finished build; its package is made with cpack if it is not there yet.
# CHROOT_DIR (default /tmp/quillmark-deb12) is made fresh with debootstrap and removed after.
# Set KEEP_CHROOT=1 to keep it for a look around.
set -euo pipefail

build="$(cd "${1:?usage: check-clean-debian.sh BUILD_DIR [CHROOT_DIR]}" && pwd)"
root="${2:-/tmp/quillmark-deb12}"
mirror="${DEBIAN_MIRROR:-http://deb.debian.org/debian}"
security="${DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}"

say() { printf '\n== %s\n' "$*"; }
die() { echo "check-clean-debian: $*" >&2; exit 1; }
in_root() { chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"; }

[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap and chroot)"
command -v debootstrap >/dev/null || die "needs debootstrap (apt-get install debootstrap)"
[ -e "$root" ] && die "$root exists already; remove it or name another directory"

version=$(grep -m1 -o 'CPACK_PACKAGE_VERSION "[^"]*"' "$build/CPackConfig.cmake" | cut -d'"' -f2)
deb=$(ls "$build"/quillmark_"$version"_*.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
    say "Building the package"
    (cd "$build" && cpack -G DEB)
    deb=$(ls "$build"/quillmark_"$version"_*.deb | head -n 1)
fi
echo "package: $deb"

cleanup() {
    for mount in "$root/dev/pts" "$root/proc"; do
        mountpoint -q "$mount" && umount "$mount"
    done
    if [ "${KEEP_CHROOT:-0}" != 1 ]; then rm -rf "$root"; fi
}
trap cleanup EXIT

say "Making a clean Debian 12 in $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 \
    || die "debootstrap failed, see $root.debootstrap.log"
rm -f "$root.debootstrap.log"
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mkdir -p "$root/dev/pts" && mount -t devpts devpts "$root/dev/pts"
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
check "quillmark --version without a display" "quillmark $version" "$(in_root quillmark --version 2>&1)"
check "quillmark-decode --version" "quillmark-decode $version" "$(in_root quillmark-decode --version 2>&1)"

dump='0008F5B4 00000102 00001A48 0008F6C0 0008F4A8 00000000 00000000 00000000 00000000 0000000A'
want=$(printf '%s\n' "$dump" | "$build/bin/quillmark-decode")
got=$(printf '%s\n' "$dump" | in_root quillmark-decode)
check "installed quillmark-decode decodes a dump as the build does" "$want" "$got"
printf '%s\n' "$got"

missing=$(in_root sh -c 'ldd /usr/bin/quillmark* /usr/lib/*quillmark/* /usr/lib/*/quillmark/* 2>/dev/null | grep "not found"' || true)
check "every library the programs and the module link is installed" "" "$missing"

say "Showing the window on a virtual X server, then a page from the Web menu"
in_root apt-get install -y -q --no-install-recommends xvfb xauth x11-utils xdotool >/dev/null 2>&1
# Web, Nortel Home opens the browser window, which loads the engine module on first use.
windows=$(in_root xvfb-run -a -s '-screen 0 1280x1024x24' sh -c 'quillmark & pid=$!; sleep 10
    main=$(xdotool search --name "^Quillmark V" | head -n 1)
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
    sleep 1; xdotool key --window "$main" alt+w; sleep 1; xdotool key n; sleep 15
    xwininfo -root -tree | grep -F "(\"quillmark\" " | grep -v " 1x1+"; kill $pid' 2>/dev/null)
echo "$windows"
check "main window shown with its caption" "Quillmark V${version%.*} Rev:${version##*.}" \
    "$(sed -n 's/^ *0x[0-9a-f]* "\(Quillmark V[^"]*\)".*/\1/p' <<<"$windows")"
others=$(grep -vc '"Quillmark V' <<<"$windows" || true)
check "browser window opened from the Web menu" yes "$([ "$others" -ge 1 ] && echo yes || echo no)"

say "Removing the package"
in_root apt-get remove -y -q quillmark >/dev/null
left=$(in_root sh -c 'ls -d /usr/bin/quillmark* /usr/share/applications/*uillmark* 2>/dev/null' || true)
check "nothing of the package left after removal" "" "$left"

if command -v lintian >/dev/null; then
    say "lintian"
    lintian --tag-display-limit 0 "$deb" || true
fi

say "Result"
if [ $failures -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "all checks passed"
