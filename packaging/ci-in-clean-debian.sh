#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the project's CI as a new machine would: a fresh minimal Debian tree of the given release
# (debootstrap), a clean clone of this checkout's committed HEAD in it, then `bash .ci/run` as
# root with no display. After the tests pass, the Debian package is built there the way the
# README says, copied out, and checked with packaging/check-clean-debian.sh in a second fresh
# tree of the same release. Needs root, debootstrap, git and the network.
#
#   packaging/ci-in-clean-debian.sh bookworm|trixie [WORK_DIR]
#
# WORK_DIR (default /var/tmp/quillmark-ci-RELEASE) receives ci.log, the package and the
# screenshot of the check; the tree itself (WORK_DIR/root) is removed at the end unless
# KEEP_CHROOT=1. Set SKIP_PACKAGE_CHECK=1 to stop after the tests and the package build.
# The tree is made from the Debian archive this machine's apt uses (packaging/debian-archive.sh);
# DEBIAN_MIRROR and DEBIAN_SECURITY_MIRROR name others.
set -euo pipefail

# The whole script is read before it runs, so that editing the file meanwhile cannot change a
# run in progress.
main() {
    release="${1:-}"
    case "$release" in
        bookworm|trixie) ;;
        *) echo "usage: packaging/ci-in-clean-debian.sh bookworm|trixie [WORK_DIR]" >&2; exit 2 ;;
    esac
    top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    work="${2:-/var/tmp/quillmark-ci-$release}"
    root="$work/root"

    say() { printf '\n== %s: %s\n' "$(date -u +%H:%M:%S)" "$*"; }
    die() { echo "ci-in-clean-debian: $*" >&2; exit 1; }
    in_root() { chroot "$root" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 TERM=dumb DEBIAN_FRONTEND=noninteractive "$@"; }

    [ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, mounts and chroot)"
    for tool in debootstrap git; do command -v $tool >/dev/null || die "needs $tool"; done
    [ -e "$root" ] && die "$root exists already; remove it or name another WORK_DIR"
    source "$top/packaging/debian-archive.sh"
    debian_archive || die "no archive to make the tree from"
    mkdir -p "$work"

    mounts=()
    cleanup() {
        local i proc
        # What the run left running in the tree (a virtual X server, a test server) is ended first.
        for proc in /proc/[0-9]*; do
            case "$(readlink "$proc/root" 2>/dev/null)" in
                "$root"|"$root"/*) kill -KILL "${proc#/proc/}" 2>/dev/null || true ;;
            esac
        done
        sleep 1
        # Processes just ended may still hold a device open for a moment: then the mount is
        # detached now and goes once it is free.
        for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
            if mountpoint -q "${mounts[i]}"; then
                umount "${mounts[i]}" 2>/dev/null || umount --lazy "${mounts[i]}" \
                    || echo "ci-in-clean-debian: could not unmount ${mounts[i]}" >&2
            fi
        done
        if [ "${KEEP_CHROOT:-0}" != 1 ] && [ -d "$root" ] && ! grep -qF " $root/" /proc/mounts; then
            rm -rf --one-file-system "$root"
        fi
    }
    trap cleanup EXIT
    mount_in_root() {  # mount_in_root DIR MOUNT-ARGS...
        mkdir -p "$root/$1"
        mount "${@:2}" "$root/$1"
        mounts+=("$root/$1")
    }

    say "Making a fresh minimal Debian $release in $root"
    nice debootstrap --variant=minbase "$release" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 \
        || die "debootstrap failed, see $work/debootstrap.log"
    archive_sources "$release" >"$root/etc/apt/sources.list"
    archive_proxy "$root"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount_in_root proc -t proc proc
    mount_in_root sys -t sysfs sysfs
    mount_in_root dev --bind /dev
    mount_in_root dev/pts -t devpts devpts
    mount_in_root dev/shm -t tmpfs -o mode=1777 tmpfs
    in_root apt-get update -q >/dev/null
    # Certificate authorities this machine added for itself (a network that inspects TLS, say)
    # go into the tree too, so that npm there reaches its registry as it does here.
    if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
        in_root apt-get install -y -q --no-install-recommends ca-certificates >/dev/null
        cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
        in_root update-ca-certificates >/dev/null
    fi

    say "Cloning the committed HEAD of $top"
    if [ -n "$(git -C "$top" status --porcelain --untracked-files=no)" ]; then
        echo "note: the checkout has uncommitted changes; they are not part of this run"
    fi
    git clone -q --no-hardlinks "$top" "$root/src/quillmark"
    git -C "$root/src/quillmark" log --oneline -1

    say "bash .ci/run (log: $work/ci.log)"
    status=0
    in_root nice bash -c 'cd /src/quillmark && bash .ci/run' >"$work/ci.log" 2>&1 || status=$?
    grep -E 'tests passed|tests failed|^ *[0-9]+ - .*\((Failed|Timeout|Not Run|SEGFAULT|Subprocess)' "$work/ci.log" || true
    [ $status -eq 0 ] || die ".ci/run failed with status $status on $release; see $work/ci.log"

    # The package is laid out alike whatever the build's prefix, so the tested build makes it.
    say "Building the package from the tested build"
    in_root nice bash -c 'cd /src/quillmark/build && cpack -G DEB' >"$work/package.log" 2>&1 \
        || die "building the package failed, see $work/package.log"
    rm -f "$work"/quillmark_*.deb
    cp "$root"/src/quillmark/build/quillmark_*.deb "$work/"
    ls -l "$work"/quillmark_*.deb

    if [ "${SKIP_PACKAGE_CHECK:-0}" = 1 ]; then exit 0; fi
    say "Installing the package in a second fresh Debian $release"
    SCREENSHOT_DIR="$work" "$root/src/quillmark/packaging/check-clean-debian.sh" "$release" \
        "$root/src/quillmark/build" \
        "$work/clean-root" 2>&1 | tee "$work/package-check.log"
}

main "$@"
