#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks what a user gets: the build installed the way a distribution installs it, or the
# Debian package made from it.
#
#   check-install.sh tree    BUILD_DIR WORK_DIR   install into a staging DESTDIR, check the tree
#   check-install.sh package BUILD_DIR WORK_DIR   build the .deb with CPack, check its contents
#
# What this build configuration holds comes from the environment, set by CTest:
#   QM_VERSION            project version, e.g. 2.0.0
#   QM_APP_ID             desktop entry and metainfo id
#   QM_HAVE_CLI           1 when quillmark-decode is built
#   QM_HAVE_GUI           1 when the window program quillmark is built
#   QM_HAVE_ICON          1 when the program icon exists in the sources
#   QM_MODULE             path of the browser module relative to the prefix, empty when not built
#   QM_ICON_SIZES         bitmap icon sizes, e.g. "16 22 24 32 48 64 128 256"
set -uo pipefail

mode="$1"
build="$(cd "$2" && pwd)"
mkdir -p "$3"
work="$(mktemp -d -p "$(cd "$3" && pwd)" "$mode.XXXXXX")"
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }
skip() { echo "skip: $*"; }
# Runs a command with a bound on its running time, so that a hanging program fails the
# check instead of holding up the test run.
bounded() { timeout --kill-after=5 60 "$@"; }

# --- The installed tree --------------------------------------------------------------------

check_only_under_usr() {
    local root="$1" extra
    extra=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr -printf '%P ')
    if [ -n "$extra" ]; then
        fail "files installed outside the prefix /usr: $extra"
    else
        pass "every file is under /usr"
    fi
}

# A program must print "<name> <version>" first on --version from its installed place, without a
# display, and must not reach back into the build tree for anything.
check_program() {
    local root="$1" name="$2" path="$1/usr/bin/$2" out want
    if [ ! -x "$path" ]; then
        fail "$name is not installed as an executable in /usr/bin"
        return
    fi
    want="$name $QM_VERSION"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
        timeout --kill-after=5 60 "$path" --version 2>&1)
    local status=$?
    # Copyright and licence lines may follow the first line.
    if [ $status -ne 0 ] || [ "${out%%$'\n'*}" != "$want" ]; then
        fail "$name --version without a display: exit $status, printed '$out', want '$want'"
    else
        pass "$name --version prints '$want' without a display"
    fi
    check_links "$path" "$name"
}

check_links() {
    local path="$1" what="$2" missing rpath
    missing=$(ldd "$path" 2>&1 | grep 'not found')
    if [ -n "$missing" ]; then
        fail "$what needs libraries that are not installed: $missing"
    else
        pass "$what finds every library it links"
    fi
    rpath=$(readelf -d "$path" | grep -E 'R(UN)?PATH' | grep -F "$build")
    if [ -n "$rpath" ]; then
        fail "$what still searches the build tree for libraries: $rpath"
    fi
}

check_module() {
    local root="$1" path="$1/usr/$QM_MODULE"
    if [ ! -f "$path" ]; then
        fail "browser module missing at /usr/$QM_MODULE"
        return
    fi
    pass "browser module installed at /usr/$QM_MODULE"
    check_links "$path" "browser module"
}

# A manual page must be roff that man renders without a warning, under the program's name.
check_manual_page() {
    local root="$1" name="$2" page="$1/usr/share/man/man1/$2.1.gz" text warnings
    if [ ! -f "$page" ]; then
        fail "manual page $name(1) missing at /usr/share/man/man1/$name.1.gz"
        return
    fi
    if [ "$(zcat "$page" | grep -m 1 '^\.TH' | cut -d' ' -f2-3)" != "\"$name\" \"1\"" ]; then
        fail "$name.1.gz is not a roff manual page for $name(1)"
        return
    fi
    if ! command -v man >/dev/null; then
        pass "manual page $name(1) is roff (man is not installed to render it)"
        return
    fi
    text=$(MANWIDTH=80 MAN_KEEP_FORMATTING= bounded man -E UTF-8 -l "$page" 2>/dev/null | col -b)
    warnings=$(MANWIDTH=80 bounded man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    if ! grep -q "^ *$name - " <<<"$text" || ! grep -q '^SYNOPSIS' <<<"$text"; then
        fail "manual page $name(1) renders without its NAME and SYNOPSIS sections"
    elif [ -n "$warnings" ]; then
        fail "manual page $name(1) renders with warnings: $warnings"
    else
        pass "manual page $name(1) renders"
    fi
}

# The desktop entry must validate and point at a program and an icon that are installed.
check_desktop_entry() {
    local root="$1" entry="$1/usr/share/applications/$QM_APP_ID.desktop" out exec icon
    if [ ! -f "$entry" ]; then
        fail "desktop entry missing at /usr/share/applications/$QM_APP_ID.desktop"
        return
    fi
    out=$(desktop-file-validate "$entry" 2>&1)
    if [ $? -ne 0 ] || grep -qE '(error|warning):' <<<"$out"; then
        fail "desktop entry does not validate: $out"
    else
        pass "desktop entry validates"
    fi
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$root/usr/bin/$exec" ] && pass "desktop entry starts /usr/bin/$exec" \
        || fail "desktop entry starts '$exec', which is not installed in /usr/bin"
    grep -qE '^Categories=(.*;)?Utility;' "$entry" && grep -qE '^Categories=(.*;)?Telephony;' "$entry" \
        && pass "desktop entry is filed under Utility and Telephony" \
        || fail "desktop entry is not filed under both Utility and Telephony"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    if [ "$QM_HAVE_ICON" = 1 ]; then
        [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] \
            && pass "desktop entry icon '$icon' is installed" \
            || fail "desktop entry names icon '$icon', which is not in the hicolor theme"
    fi
}

check_metainfo() {
    local root="$1" info="$1/usr/share/metainfo/$QM_APP_ID.metainfo.xml" out newest launch
    if [ ! -f "$info" ]; then
        fail "metainfo missing at /usr/share/metainfo/$QM_APP_ID.metainfo.xml"
        return
    fi
    out=$(bounded appstreamcli validate --no-net --no-color "$info" 2>&1)
    [ $? -eq 0 ] && pass "metainfo validates" || fail "metainfo does not validate: $out"
    newest=$(grep -o '<release version="[^"]*"' "$info" | head -n 1 | cut -d'"' -f2)
    [ "$newest" = "$QM_VERSION" ] && pass "metainfo's newest release is $QM_VERSION" \
        || fail "metainfo's newest release is '$newest', the program is $QM_VERSION"
    launch=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$info")
    [ -f "$root/usr/share/applications/$launch" ] && pass "metainfo launches $launch" \
        || fail "metainfo launches '$launch', which is not installed"
}

# The release history's newest entry must be the version being installed.
check_changelog() {
    local root="$1" log="$1/usr/share/doc/quillmark/changelog.gz" newest
    if [ ! -f "$log" ]; then
        fail "release history missing at /usr/share/doc/quillmark/changelog.gz"
        return
    fi
    newest=$(zcat "$log" | head -n 1 | sed -n 's/^quillmark (\([^)]*\)).*/\1/p')
    [ "$newest" = "$QM_VERSION" ] && pass "release history's newest entry is $QM_VERSION" \
        || fail "release history's newest entry is '$newest', the program is $QM_VERSION"
}

check_icons() {
    local root="$1" dir="$1/usr/share/icons/hicolor" size png kind
    [ -f "$dir/scalable/apps/quillmark.svg" ] && pass "scalable icon installed" \
        || fail "scalable icon missing at hicolor/scalable/apps/quillmark.svg"
    for size in $QM_ICON_SIZES; do
        png="$dir/${size}x${size}/apps/quillmark.png"
        kind=$(file -b "$png" 2>/dev/null)
        if [[ "$kind" == "PNG image data, $size x $size,"* ]]; then
            pass "${size}x${size} icon installed"
        else
            fail "${size}x${size} icon: want a $size x $size PNG, found '${kind:-nothing}'"
        fi
    done
}

check_tree() {
    local root="$work/root" log
    if ! log=$(DESTDIR="$root" bounded cmake --install "$build" --prefix /usr 2>&1); then
        fail "cmake --install failed: $log"
        return
    fi
    pass "installed into a staging DESTDIR"
    check_only_under_usr "$root"
    check_changelog "$root"

    if [ "$QM_HAVE_CLI" = 1 ]; then
        check_program "$root" quillmark-decode
        check_manual_page "$root" quillmark-decode
    else
        skip "quillmark-decode is not built in this configuration"
    fi
    if [ "$QM_HAVE_GUI" = 1 ]; then
        check_program "$root" quillmark
        check_manual_page "$root" quillmark
        check_desktop_entry "$root"
        check_metainfo "$root"
        if [ "$QM_HAVE_ICON" = 1 ]; then
            check_icons "$root"
        else
            skip "the sources hold no program icon yet"
        fi
    else
        skip "the window program is not built in this configuration"
    fi
    if [ -n "$QM_MODULE" ]; then
        check_module "$root"
    else
        skip "the browser module is not built in this configuration"
    fi
}

# --- The Debian package ----------------------------------------------------------------

check_package() {
    local log deb field value contents path
    if ! log=$(cd "$work" && bounded cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" 2>&1); then
        fail "cpack -G DEB failed: $log"
        return
    fi
    deb=$(ls "$work"/out/quillmark_"$QM_VERSION"_*.deb 2>/dev/null | head -n 1)
    if [ -z "$deb" ]; then
        fail "no quillmark_${QM_VERSION}_<arch>.deb written: $(ls "$work/out")"
        return
    fi
    pass "built $(basename "$deb")"

    while IFS='=' read -r field value; do
        [ "$(dpkg-deb -f "$deb" "$field")" = "$value" ] && pass "$field: $value" \
            || fail "$field is '$(dpkg-deb -f "$deb" "$field")', want '$value'"
    done <<EOF
Package=quillmark
Version=$QM_VERSION
Architecture=$(dpkg --print-architecture)
Section=utils
EOF
    [ -n "$(dpkg-deb -f "$deb" Maintainer)" ] && pass "has a maintainer" || fail "no Maintainer"
    [ -n "$(dpkg-deb -f "$deb" Description | sed -n 2p)" ] && pass "has a long description" \
        || fail "Description has no long description"

    # Dependencies dpkg-shlibdeps computed from the programs' links, and those named by hand
    # for what is loaded at run time.
    local depends wanted=(libc6 libstdc++6)
    depends=$(dpkg-deb -f "$deb" Depends)
    [ "$QM_HAVE_GUI" = 1 ] && wanted+=(libqt6core6 libqt6widgets6 libqt6svg6 fonts-liberation2 hicolor-icon-theme)
    [ -n "$QM_MODULE" ] && wanted+=(libqt6webenginewidgets6)
    for value in "${wanted[@]}"; do
        sed 's/, /\n/g' <<<"$depends" | cut -d' ' -f1 | grep -qxF "$value" && pass "depends on $value" \
            || fail "Depends lacks $value: $depends"
    done

    contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
    local expected=(./usr/share/doc/quillmark/changelog.gz)
    [ "$QM_HAVE_CLI" = 1 ] && expected+=(./usr/bin/quillmark-decode ./usr/share/man/man1/quillmark-decode.1.gz)
    [ "$QM_HAVE_GUI" = 1 ] && expected+=(./usr/bin/quillmark "./usr/share/applications/$QM_APP_ID.desktop"
        "./usr/share/metainfo/$QM_APP_ID.metainfo.xml")
    [ -n "$QM_MODULE" ] && expected+=("./usr/$QM_MODULE")
    for path in "${expected[@]}"; do
        grep -qxF "$path" <<<"$contents" && pass "package holds $path" || fail "package lacks $path"
    done
    path=$(grep -vE '^\./(usr(/.*)?)?$' <<<"$contents" | head -n 3)
    [ -z "$path" ] && pass "package installs under /usr only" || fail "package installs outside /usr: $path"
}

case "$mode" in
    tree) check_tree ;;
    package) check_package ;;
    *) echo "usage: check-install.sh tree|package BUILD_DIR WORK_DIR" >&2; exit 2 ;;
esac

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
