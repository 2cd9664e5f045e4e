#!/bin/bash
# SPDX-License-Identifier: MIT
# A sixteenth field, added the way the field catalogue says: a value of Field and a row in
# decoder/field_catalogue.h, and a geometry row in ui/main/frmMain.cpp, nothing else. The new
# field must then show in what PART covers:
#   native   the text report, the JSON record, --explain, --help, the documents' examples and
#            the window's result rows
#   page     the web page's result rows
#
# usage: add-a-field.sh PART SOURCE_DIR BUILD_DIR WORK_DIR
#
# The field is planted in overlays of the source tree and of BUILD_DIR, mounted in a mount
# namespace of this script's own (unshare), so that the build rebuilds only what the two files
# reach and reuses every other object; the tree and the build stay as they are. Where no such
# namespace can be made, a copy of the tree is built instead, which takes minutes. Parts whose
# tools are missing (Qt windows, Emscripten, Chromium, jq) are named and skipped.
set -euo pipefail
part=$1
src=$(cd "$2" && pwd)
main_build=$(cd "$3" && pwd)
work=$4
case "$part" in native|page) ;; *) echo "usage: add-a-field.sh native|page SOURCE_DIR BUILD_DIR WORK_DIR" >&2; exit 2 ;; esac

fail() { echo "FAIL: $*" >&2; exit 1; }
expect() {  # expect WHAT FILE TEXT: the file holds the text
    grep -qF -- "$3" "$2" || { echo "--- $2:" >&2; cat "$2" >&2; fail "$1: \"$3\" missing"; }
}

# ---- Where the field is planted: an overlay of tree and build, or a copy ----
if [ -z "${QM_FIELD_LAYERS:-}" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    work=$(cd "$work" && pwd)
    layers=$(mktemp -d "${TMPDIR:-/tmp}/quillmark-field.XXXXXX")
    trap 'rm -rf "$layers"' EXIT
    namespace=(unshare --mount)
    [ "$(id -u)" -eq 0 ] || namespace=(unshare --mount --map-root-user)
    status=86
    if "${namespace[@]}" true 2>"$work/overlay.log"; then
        status=0
        QM_FIELD_LAYERS="$layers" "${namespace[@]}" bash "$0" "$part" "$src" "$main_build" "$work" || status=$?
    fi
    [ $status -ne 86 ] && exit $status
    echo "note: no overlay could be mounted here ($(cat "$work/overlay.log")); building a copy of the tree"
    export QM_FIELD_LAYERS=copy
fi
logs=$work
if [ "$QM_FIELD_LAYERS" = copy ]; then
    tree="$work/src"
    build="$work/build"
    mkdir -p "$tree"
    if git -C "$src" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        (cd "$src" && git ls-files -z --cached | xargs -0 cp --parents -t "$tree")
    else
        cp -a "$src/." "$tree"
    fi
    generator=()
    command -v ninja >/dev/null && generator=(-G Ninja)
    cmake -S "$tree" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUILLMARK_BUILD_BROWSER=OFF -DQUILLMARK_BUILD_WINDOWS=OFF -DQUILLMARK_BUILD_BENCH=OFF \
        "-DQUILLMARK_BUILD_WEB=$([ "$part" = page ] && echo ON || echo OFF)" >"$logs/configure.log"
else
    # In this namespace the tree and the build are seen through overlays whose changes go to
    # the layers folder; the logs go straight to WORK_DIR, which lies inside the build.
    layers=$QM_FIELD_LAYERS
    mkdir -p "$layers"/{logs,tree,tree.work,build,build.work}
    {
        mount --bind "$work" "$layers/logs" &&
            mount -t overlay overlay -o "lowerdir=$src,upperdir=$layers/tree,workdir=$layers/tree.work" "$src" &&
            mount -t overlay overlay -o "lowerdir=$main_build,upperdir=$layers/build,workdir=$layers/build.work" "$main_build"
    } 2>"$work/overlay.log" || exit 86
    logs="$layers/logs"
    tree=$src
    build=$main_build
fi

# ---- The new field: one enum value and one row ----
python3 - "$tree/decoder/field_catalogue.h" <<'PY'
import sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
enum_end = "DigitLoad, DigitUnload, DigsDialed,\n};"
last_row = "Shown::DialedDigits},\n});"
assert text.count(enum_end) == 1 and text.count(last_row) == 1, "catalogue layout changed"
text = text.replace(enum_end, "DigitLoad, DigitUnload, DigsDialed, CRWord10,\n};")
text = text.replace(last_row, 'Shown::DialedDigits},\n'
                    '    {Field::CRWord10, "CRWord10", "lblCRWord10", "CR Word 10", "CR Word 10: ", '
                    '10, 10, From::Word, WholeWord(), Shown::AsTyped},\n});')
open(path, "w", encoding="utf-8").write(text)
PY
# In the overlay, the objects that include the catalogue (they are rebuilt anyway) are built
# at -O1 without debug information: the test reads what the programs print, and they take
# about half the time to build. Every other object stays the main build's own.
if [ "$part" = native ] && [ "$QM_FIELD_LAYERS" != copy ] && [ -f "$build/build.ninja" ]; then
    ninja -C "$build" -t deps | python3 -c '
import re, sys
reached, target = set(), None
for line in sys.stdin:
    if not line.startswith(" "):
        target = line.split(": #deps")[0]
    elif line.strip().endswith("decoder/field_catalogue.h"):
        reached.add(target)
lines, current = open(sys.argv[1], encoding="utf-8").read().split("\n"), None
for i, line in enumerate(lines):
    if line.startswith("build "):
        current = re.match(r"build ((?:[^:$]|\$.)+):", line).group(1)
    elif current in reached and line.startswith("  FLAGS = "):
        flags = [f for f in line[len("  FLAGS = "):].split(" ") if not re.fullmatch(r"-O[0-3sz]?|-g", f)]
        lines[i] = "  FLAGS = " + " ".join(flags + ["-O1"])
open(sys.argv[1], "w", encoding="utf-8").write("\n".join(lines))
print(f"{len(reached)} objects include the catalogue", file=sys.stderr)
' "$build/build.ninja" 2>"$logs/reach.log"
fi
targets=$(cmake --build "$build" --target help 2>/dev/null || true)
has_target() { grep -qE "^(\.\.\. )?$1(:| |$)" <<<"$targets"; }

if [ "$part" = page ]; then
    # ---- The web page: its rows come from the module ----
    # The page starts its module asynchronously, so it is driven through the browser harness of
    # the page's own tests, which waits for it to be ready and tells why when it never is.
    if ! has_target quillmark_web || [ -z "${NODE_PATH:-}" ] || ! [ -d "$NODE_PATH/puppeteer-core" ]; then
        echo "SKIP: web page (not built here, or the browser tests' node modules are missing)"
        exit 0
    fi
    cmake --build "$build" --target quillmark_web -j2 >"$logs/build-web.log" 2>&1 || fail "the page does not build"
    QM_PAGE=$(sed -n 's/^QUILLMARK_WEB_PAGE:INTERNAL=//p' "$build/CMakeCache.txt") \
        node - "$src/tests/web/browser.cjs" >"$logs/page.html" <<'JS' || fail "the page does not get ready"
const { startBrowser, openPage, run } = require(process.argv[2]);
// The page's errors and its own status line are what tell why it never got ready.
run(async () => {
    const { browser, close } = await startBrowser();
    const errors = [];
    let shown;
    try {
        shown = await openPage(browser, (tab) => {
            tab.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
            tab.on('pageerror', (error) => errors.push(error.message));
        }).then(({ tab }) => tab.$eval('.results', (results) => results.outerHTML), async (error) => {
            const tab = (await browser.pages()).pop();
            const status = await tab.$eval('#status', (line) => line.textContent).catch(() => '');
            throw new Error(`${error.message}; status "${status}"; errors: ${errors.join(' | ') || 'none'}`);
        });
    } finally {
        await close();
    }
    process.stdout.write(shown);
});
JS
    expect "page" "$logs/page.html" '<div class="row"><label id="lblDigsDialed" for="lblDigsDialedData">Digits Dialed</label><output id="lblDigsDialedData" aria-live="off" tabindex="0"></output></div><div class="row"><label id="lblCRWord10" for="lblCRWord10Data">CR Word 10</label><output id="lblCRWord10Data" aria-live="off" tabindex="0"></output></div>'
    echo "the page shows the new field"
    exit 0
fi

# ---- Everything the field reaches, built at once ----
# With Ninja one run builds the command-line decoder, its manual and the window test together,
# so that both cores stay busy, and keeps going past the window's table: without a place for
# the new field that one object must fail (checked below), the others are built.
window_object=ui/main/CMakeFiles/quillmark_ui_main.dir/frmMain.cpp.o
window_missing="$logs/build-window-missing.log"
if [ -f "$build/build.ninja" ] && has_target tst_frmMain; then
    reach=(quillmark-decode tst_frmMain)
    has_target quillmark_man_quillmark-decode && reach+=(quillmark_man_quillmark-decode)
    if cmake --build "$build" -j2 --target "${reach[@]}" -- -k 0 >"$window_missing" 2>&1; then
        fail "the window builds without a place for the new field"
    fi
fi

# ---- quillmark-decode: report, JSON, --explain, --help ----
dump="0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 00090020 00000000 0000ABCD 00000000 000003E5 0000B1A3"
cmake --build "$build" --target quillmark-decode -j2 >"$logs/build-cli.log" 2>&1 || fail "quillmark-decode does not build"
decode="$build/bin/quillmark-decode"
printf '%s' "$dump" | "$decode" >"$logs/report.txt"
expect "report" "$logs/report.txt" $'Digits Dialed: 301B\nCR Word 10: 0000ABCD\n'
printf '%s' "$dump" | "$decode" --json >"$logs/record.json"
expect "JSON" "$logs/record.json" '"DigsDialed":"301B","CRWord10":"0000ABCD","PointersDiffer":true'
printf '%s' "$dump" | "$decode" --explain >"$logs/explain.txt"
expect "--explain" "$logs/explain.txt" $'CR Word 10: 0000ABCD\n    word 10, characters 1-8: 0000ABCD\n'
printf '%s' "$dump" | "$decode" --json --explain >"$logs/explain.json"
expect "JSON --explain" "$logs/explain.json" '"CRWord10":[{"word":10,"of":"word","start":1,"length":8,"text":"0000ABCD"}]'
# --help may count the fields, but only as the catalogue does.
"$decode" --help >"$logs/help.txt"
counted=$(grep -ioE '\b([0-9]+|[a-z]+teen)( report)? (fields|lines)\b' "$logs/help.txt" | grep -viE '^(16|sixteen)\b' || true)
[ -z "$counted" ] || fail "--help counts the fields otherwise than the catalogue: $counted"
echo "report, JSON, --explain and --help show the new field"

# ---- The documents: the examples that print a whole report need the new line; nothing else ----
if has_target quillmark_man_quillmark-decode &&
    [[ "$(ctest --test-dir "$build" -N -R '^docs\.examples$')" == *docs.examples* ]]; then
    docs() {
        cmake --build "$build" --target quillmark_man_quillmark-decode >"$logs/build-docs.log" 2>&1 &&
            ctest --test-dir "$build" -R '^docs\.examples$' --output-on-failure >"$logs/$1" 2>&1
    }
    ! docs docs-stale.log || fail "docs.examples passes with examples that lack the new field's line"
    expect "stale examples" "$logs/docs-stale.log" "+CR Word 10: 00000000"
    for document in README.md packaging/quillmark-decode.1.scd.in; do
        sed -i 's|^\( *\)Digits Dialed: 301B$|&\n\1CR Word 10: 00000000|' "$tree/$document"
    done
    docs docs.log || { cat "$logs/docs.log" >&2; fail "docs.examples fails with the new field"; }
    echo "the documents follow the new field"
else
    echo "SKIP: documents (docs.examples is not set up in this build)"
fi

# ---- The window: the build fails until its geometry table has the field, then shows it ----
if ! has_target tst_frmMain; then
    echo "SKIP: window (Qt 6 Widgets not found)"
    echo "a sixteenth field reaches every output here"
    exit 0
fi
# Ninja built (and failed) the one object that holds the table above.
if [ -f "$window_missing" ]; then
    expect "window build" "$window_missing" "kResultGeometry misses a field"
    [ "$(grep '^FAILED: ' "$window_missing" | sed 's/ *$//')" = "FAILED: $window_object" ] ||
        { cat "$window_missing" >&2; fail "something else than the window's table failed to build"; }
fi
sed -i 's|^\(    ResultGeometry{Field::DigsDialed,.*\)$|\1\n    ResultGeometry{Field::CRWord10, 4440, 1335, 6000, 3120},|' \
    "$tree/ui/main/frmMain.cpp"
grep -q "Field::CRWord10" "$tree/ui/main/frmMain.cpp" || fail "window geometry row not added"
cmake --build "$build" --target tst_frmMain -j2 >"$logs/build-window.log" 2>&1 || fail "the window does not build"
QT_QPA_PLATFORM=offscreen "$build/bin/tst_frmMain" resultRowsFollowTheCatalogue >"$logs/window.txt" 2>&1 ||
    { cat "$logs/window.txt" >&2; fail "window rows"; }
expect "window" "$logs/window.txt" "lblCRWord10 lblCRWord10Data: 00000000"  # word 10 of the worked example
echo "the window shows the new field"
echo "a sixteenth field reaches every output here"
