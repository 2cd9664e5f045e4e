#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks what a user gets: the build installed the way a distribution installs it, or the
# Debian package made from it.
#
#   check-install.sh tree    BUILD_DIR WORK_DIR   install into a staging DESTDIR, check the tree
#   check-install.sh package BUILD_DIR WORK_DIR   build the .deb with CPack, check its contents
#   check-install.sh lintian BUILD_DIR WORK_DIR   build the .deb with CPack, run lintian on it
#
# What this build configuration holds comes from the environment, set by CTest:
#   QM_VERSION            project version, e.g. 2.0.0
#   QM_APP_ID             desktop entry and metainfo id
#   QM_HAVE_CLI           1 when quillmark-decode is built
#   QM_HAVE_GUI           1 when the window program quillmark is built
#   QM_HAVE_ICON          1 when the program icon exists in the sources
#   QM_MODULE             path of the browser module relative to the prefix, empty when not built
#   QM_ICON_SIZES         bitmap icon sizes, e.g. "16 22 24 32 48 64 128 256"
#   QM_WEB_PAGE           the built web page, empty when it is not built
#   QM_QT_PLUGINS         Qt's plugin directory, e.g. /usr/lib/x86_64-linux-gnu/qt6/plugins
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
# Leaves the test as skipped (CTest's SKIP_RETURN_CODE) with a reason.
skip_all() { echo "skip: $*"; exit 77; }
# Runs a command with a bound on its running time, so that a hanging program fails the
# check instead of holding up the test run.
bounded() { timeout --kill-after=5 60 "$@"; }
# Building and checking the package take longer, the more so on a busy machine.
bounded_long() { timeout --kill-after=5 400 "$@"; }

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

# A program must print "<name> <version>" as the first line on --version (copyright and licence
# may follow) from its installed place, without a display, and must not reach back into the
# build tree for anything.
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
    check_window_class "$root" "$(sed -n 's/^StartupWMClass=//p' "$entry")"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    if [ "$QM_HAVE_ICON" = 1 ]; then
        [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] \
            && pass "desktop entry icon '$icon' is installed" \
            || fail "desktop entry names icon '$icon', which is not in the hicolor theme"
    fi
}

# Task bars tie a window to its launcher through the desktop entry's StartupWMClass, which must
# be the class the window program gives its windows on X11. The installed program is started on
# a virtual X server and its main window asked for its WM_CLASS.
check_window_class() {
    local root="$1" want="$2" got
    if [ -z "$want" ]; then
        fail "desktop entry has no StartupWMClass"
        return
    fi
    local tool
    for tool in xvfb-run xdotool xprop; do
        if ! command -v $tool >/dev/null; then
            skip "window class of the running program not checked: $tool is not installed"
            return
        fi
    done
    got=$(QM_PROGRAM="$root/usr/bin/quillmark" bounded env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
        "$QM_PROGRAM" >/dev/null 2>&1 & pid=$!
        window=$(timeout 30 xdotool search --sync --name "^Quillmark V" | head -n 1)
        [ -n "$window" ] && xprop -id "$window" WM_CLASS
        kill $pid' 2>/dev/null | sed -n 's/^WM_CLASS([A-Z]*) = "[^"]*", "\([^"]*\)"$/\1/p')
    [ "$got" = "$want" ] && pass "desktop entry's StartupWMClass is the window's class '$got'" \
        || fail "desktop entry's StartupWMClass is '$want', the window's class is '${got:-unknown}'"
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
    grep -q '<url type="homepage">https://[^<]*</url>' "$info" && pass "metainfo names a homepage" \
        || fail "metainfo names no https homepage url"
    launch=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$info")
    [ -f "$root/usr/share/applications/$launch" ] && pass "metainfo launches $launch" \
        || fail "metainfo launches '$launch', which is not installed"
}

# The licence of what is installed, in Debian's machine-readable format, naming the project's own.
check_copyright() {
    local root="$1" file="$1/usr/share/doc/quillmark/copyright"
    if [ ! -f "$file" ]; then
        fail "copyright file missing at /usr/share/doc/quillmark/copyright"
        return
    fi
    head -n 1 "$file" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
        && pass "copyright file is in Debian's machine-readable format" \
        || fail "copyright file does not start with the copyright-format 1.0 Format: line"
    grep -A 2 -x 'Files: \*' "$file" | grep -qx 'License: MIT' \
        && pass "copyright file gives the project's licence: MIT" \
        || fail "copyright file's 'Files: *' paragraph does not name the MIT licence"
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
    check_copyright "$root"

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
    if [ -n "$QM_WEB_PAGE" ]; then
        cmp -s "$QM_WEB_PAGE" "$root/usr/share/quillmark/web/quillmark-$QM_VERSION.html" \
            && pass "web page installed at /usr/share/quillmark/web/quillmark-$QM_VERSION.html" \
            || fail "web page not installed as built at /usr/share/quillmark/web/quillmark-$QM_VERSION.html"
    else
        skip "the web page is not built in this configuration"
    fi
}

# --- The Debian package ----------------------------------------------------------------

# Builds the package into $work/out and sets deb to its path; fails the check when it cannot.
build_package() {
    local log
    if ! log=$(cd "$work" && bounded_long cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" 2>&1); then
        fail "cpack -G DEB failed: $log"
        return 1
    fi
    deb=$(ls "$work"/out/quillmark_"$QM_VERSION"-*_*.deb 2>/dev/null | head -n 1)
    if [ -z "$deb" ]; then
        fail "no quillmark_${QM_VERSION}-<revision>_<arch>.deb written: $(ls "$work/out")"
        return 1
    fi
    pass "built $(basename "$deb")"
}

# The Debian package that holds a file, whether dpkg lists it under /lib or /usr/lib.
owner_of() {
    local real
    real=$(readlink -f "$1")
    dpkg-query -S "*/$(basename "$(dirname "$real")")/$(basename "$real")" 2>/dev/null \
        | head -n 1 | sed 's/[:,].*//'
}

# The package must depend on whatever provides the libraries its programs link and the Qt
# plugins the window program loads at run time, under the names this release gives them.
check_depends() {
    local deb="$1" depends names binary lib path pkg plugin
    depends=$(dpkg-deb -f "$deb" Depends)
    names=$(sed 's/ *[,|] */\n/g' <<<"$depends" | cut -d' ' -f1)
    local unpacked="$work/unpacked"
    dpkg-deb -x "$deb" "$unpacked"
    local -A wanted=()
    for binary in "$unpacked"/usr/bin/* "$unpacked"/usr/lib/*/quillmark/* "$unpacked"/usr/lib/quillmark/*; do
        [ -f "$binary" ] || continue
        for lib in $(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
            path=$(ldd "$binary" | awk -v lib="$lib" '$1 == lib { print $3 }')
            pkg=$([ -n "$path" ] && owner_of "$path")
            if [ -z "$pkg" ]; then
                fail "$(basename "$binary") links $lib, which no installed Debian package holds"
            else
                wanted[$pkg]="$lib"
            fi
        done
    done
    if [ "$QM_HAVE_GUI" = 1 ]; then
        for plugin in imageformats/libqsvg.so iconengines/libqsvgicon.so; do
            pkg=$(owner_of "$QM_QT_PLUGINS/$plugin")
            if [ -z "$pkg" ]; then
                fail "no installed Debian package holds the Qt SVG plugin $QM_QT_PLUGINS/$plugin"
            else
                wanted[$pkg]="the Qt plugin $plugin"
            fi
        done
        wanted[fonts-liberation2]="the windows' font"
        wanted[hicolor-icon-theme]="the icon theme"
    fi
    for pkg in "${!wanted[@]}"; do
        grep -qxF "$pkg" <<<"$names" && pass "depends on $pkg for ${wanted[$pkg]}" \
            || fail "Depends lacks $pkg, which provides ${wanted[$pkg]}: $depends"
    done
}

check_package() {
    local deb field value contents path
    build_package || return

    while IFS='=' read -r field value; do
        [ "$(dpkg-deb -f "$deb" "$field")" = "$value" ] && pass "$field: $value" \
            || fail "$field is '$(dpkg-deb -f "$deb" "$field")', want '$value'"
    done <<EOF
Package=quillmark
Architecture=$(dpkg --print-architecture)
Section=utils
EOF
    # The version names the program's version and the release the package is built for, so
    # that packages built on two releases are never taken for one another.
    local version release
    version=$(dpkg-deb -f "$deb" Version)
    release=$( (. /etc/os-release 2>/dev/null && [ "${ID:-}" = debian ] && echo "${VERSION_ID:-}") || true)
    if [[ "$version" != "$QM_VERSION-"* ]]; then
        fail "Version is '$version', want $QM_VERSION-<revision>"
    elif [ -n "$release" ] && [[ "$version" != *"~deb$release" ]]; then
        fail "Version '$version' does not name Debian $release, the release it is built on (~deb$release)"
    else
        pass "Version: $version"
    fi
    [ -n "$(dpkg-deb -f "$deb" Maintainer)" ] && pass "has a maintainer" || fail "no Maintainer"
    [ -n "$(dpkg-deb -f "$deb" Description | sed -n 2p)" ] && pass "has a long description" \
        || fail "Description has no long description"
    ar t "$deb" | grep -qx 'data.tar.xz' && pass "data archive is xz-compressed" \
        || fail "data archive is not data.tar.xz: $(ar t "$deb" | tr '\n' ' ')"

    check_depends "$deb"

    contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
    local expected=(./usr/share/doc/quillmark/changelog.gz ./usr/share/doc/quillmark/changelog.Debian.gz
        ./usr/share/doc/quillmark/copyright)
    [ "$QM_HAVE_CLI" = 1 ] && expected+=(./usr/bin/quillmark-decode ./usr/share/man/man1/quillmark-decode.1.gz)
    [ "$QM_HAVE_GUI" = 1 ] && expected+=(./usr/bin/quillmark "./usr/share/applications/$QM_APP_ID.desktop"
        "./usr/share/metainfo/$QM_APP_ID.metainfo.xml")
    [ -n "$QM_MODULE" ] && expected+=("./usr/$QM_MODULE")
    [ -n "$QM_WEB_PAGE" ] && expected+=(./usr/share/quillmark/web/quillmark-$QM_VERSION.html)
    for path in "${expected[@]}"; do
        grep -qxF "$path" <<<"$contents" && pass "package holds $path" || fail "package lacks $path"
    done
    path=$(grep -vE '^\./(usr(/.*)?)?$' <<<"$contents" | head -n 3)
    [ -z "$path" ] && pass "package installs under /usr only" || fail "package installs outside /usr: $path"

    # The package's newest history entry is its own version.
    value=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/quillmark/changelog.Debian.gz 2>/dev/null \
        | zcat | head -n 1 | sed -n 's/^quillmark (\([^)]*\)).*/\1/p')
    [ "$value" = "$version" ] && pass "package history's newest entry is $version" \
        || fail "package history's newest entry is '$value', the package is $version"

    # Where to find the project is the same in the package and in the software centre's data.
    if [ "$QM_HAVE_GUI" = 1 ]; then
        value=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "./usr/share/metainfo/$QM_APP_ID.metainfo.xml" \
            | sed -n 's:.*<url type="homepage">\(.*\)</url>.*:\1:p')
        [ -n "$value" ] && [ "$(dpkg-deb -f "$deb" Homepage)" = "$value" ] \
            && pass "Homepage is the metainfo's homepage $value" \
            || fail "Homepage is '$(dpkg-deb -f "$deb" Homepage)', the metainfo's homepage '$value'"
    fi
}

# lintian, Debian's package checker, must find no error or warning, and no hardening fault even
# among the pedantic tags.
check_lintian() {
    local deb out faults
    command -v lintian >/dev/null || skip_all "lintian is not installed (apt-get install lintian)"
    build_package || return
    local status=0
    out=$(bounded_long lintian --pedantic --display-info --tag-display-limit 0 "$deb" 2>&1) || status=$?
    printf '%s\n' "$out" | grep -E '^[A-Z]: ' || echo "lintian reports nothing"
    if [ $status -gt 1 ]; then
        fail "lintian could not check the package (exit $status): $out"
        return
    fi
    faults=$(grep -E '^[EW]: |^[A-Z]: [^ ]+: (hardening-|binary-has-unneeded-section)' <<<"$out")
    [ -z "$faults" ] && pass "lintian finds no error, warning or hardening fault" \
        || fail "lintian: $faults"
}

case "$mode" in
    tree) check_tree ;;
    package) check_package ;;
    lintian) check_lintian ;;
    *) echo "usage: check-install.sh tree|package|lintian BUILD_DIR WORK_DIR" >&2; exit 2 ;;
esac

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
