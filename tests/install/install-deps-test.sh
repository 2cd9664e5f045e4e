#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/install-deps on the releases it knows and on one it does not, against a stand-in for
# dpkg and apt: which names it chooses, what it asks apt to install, and what it says when the
# release lacks a package.
#
#   install-deps-test.sh INSTALL_DEPS WORK_DIR
set -uo pipefail
install_deps="$1"
mkdir -p "$2"
work="$(mktemp -d -p "$(cd "$2" && pwd)" install-deps.XXXXXX)"
trap 'rm -rf "$work"' EXIT

# The stand-ins read what is installed and what the package lists hold from two files, and
# record every apt-get call.
mkdir -p "$work/bin"
# A line of "installed" is a package name, then the names it provides.
cat >"$work/bin/dpkg-query" <<'STUB'
#!/bin/sh
while read -r name provides; do
    [ -n "$name" ] && printf 'ii  %s %s\n' "$name" "$(echo "$provides" | sed 's/ /, /g')"
done <"$FAKE/installed"
STUB
cat >"$work/bin/apt-cache" <<'STUB'
#!/bin/sh
echo "$2:"
if grep -qxF "$2" "$FAKE/available"; then echo "  Candidate: 1.0-1"; else echo "  Candidate: (none)"; fi
STUB
cat >"$work/bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >>"$FAKE/apt.log"
STUB
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work"/bin/*

failures=0
# run_case NAME RELEASE LIST INSTALLED AVAILABLE WANT_STATUS WANT_INSTALL WANT_MESSAGE
#   RELEASE is ID:VERSION_CODENAME; LIST, INSTALLED and AVAILABLE are names separated by ";";
#   WANT_INSTALL the names apt-get install must get ("" for no install call); WANT_MESSAGE a
#   text the output must contain.
run_case() {
    local name="$1" status out
    export FAKE="$work/$name"
    mkdir -p "$FAKE"
    printf 'ID=%s\nVERSION_CODENAME=%s\nPRETTY_NAME="Debian GNU/Linux (%s)"\n' \
        "${2%%:*}" "${2#*:}" "${2#*:}" >"$FAKE/os-release"
    tr ';' '\n' <<<"$3" >"$FAKE/list"
    tr ';' '\n' <<<"$4" >"$FAKE/installed"
    tr ';' '\n' <<<"$5" >"$FAKE/available"
    : >"$FAKE/apt.log"
    out=$(PATH="$work/bin:$PATH" QUILLMARK_OS_RELEASE="$FAKE/os-release" QUILLMARK_PACKAGE_LIST="$FAKE/list" \
        bash "$install_deps" 2>&1)
    status=$?
    local installs
    installs=$(sed -n 's/^apt-get install -y -q --no-install-recommends //p' "$FAKE/apt.log")
    if [ "$status" != "$6" ] || [ "$installs" != "$7" ] || [[ "$out" != *"$8"* ]]; then
        echo "FAIL: $name: exit $status (want $6), installs '$installs' (want '$7'), said:"
        sed 's/^/    /' <<<"$out"
        echo "    (want it to say '$8')"
        failures=$((failures + 1))
    else
        echo "ok:   $name"
    fi
}

svg='qt6-svg-plugins | libqt6svg6'
run_case trixie-chooses-the-plugin-package debian:trixie "cmake;$svg" "libqt6svg6" \
    "cmake;qt6-svg-plugins;libqt6svg6" 0 "cmake qt6-svg-plugins" "installing cmake qt6-svg-plugins"
run_case bookworm-takes-the-library-package debian:bookworm "cmake;$svg" "cmake" \
    "cmake;libqt6svg6" 0 "libqt6svg6" "installing libqt6svg6"
run_case bookworm-with-everything-installed debian:bookworm "cmake;$svg" "cmake;libqt6svg6" \
    "cmake;libqt6svg6" 0 "" "every package is installed"
run_case comments-and-blanks-are-not-names debian:trixie "# tools;;cmake  # to build;" "" \
    "cmake" 0 "cmake" "installing cmake"
run_case unknown-release-names-what-is-missing debian:forky "cmake;clang;$svg" "" \
    "cmake;qt6-svg-plugins" 1 "" "no package named: clang"
run_case unknown-release-says-which-are-supported ubuntu:noble "cmake" "" \
    "" 1 "" 'built and tested on Debian 12 "bookworm" and Debian 13 "trixie"'
run_case a-name-an-installed-package-provides debian:bookworm "nodejs;npm" "nodejs npm (= 9.2.0) nodejs-doc" \
    "nodejs;npm" 0 "" "every package is installed"
run_case known-release-with-a-lacking-archive debian:trixie "cmake;lintian" "" \
    "cmake" 1 "" "no package named: lintian"

if [ $failures -ne 0 ]; then
    echo "$failures case(s) failed"
    exit 1
fi
echo "all cases passed"
