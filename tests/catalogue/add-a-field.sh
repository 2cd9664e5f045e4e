#!/bin/bash
# SPDX-License-Identifier: MIT
# A sixteenth field, added the way the field catalogue says: a value of Field and a row in a copy
# of decoder/field_catalogue.h, and a geometry row in the copy's ui/main/frmMain.cpp, nothing
# else. The copy is built (only what each output needs) and the new field must show in the
# text report, the JSON record, --explain, the window's result rows and the web page.
#
# usage: add-a-field.sh SOURCE_DIR WORK_DIR
# Parts whose tools are missing (Qt windows, Emscripten, Chromium) are named and skipped.
set -euo pipefail
src=$(cd "$1" && pwd)
work=$2
rm -rf "$work"
mkdir -p "$work/src"
work=$(cd "$work" && pwd)
copy="$work/src"

# The tracked files of the tree.
if git -C "$src" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$src" && git ls-files -z --cached | xargs -0 cp --parents -t "$copy")
else
    cp -a "$src/." "$copy"
fi

fail() { echo "FAIL: $*" >&2; exit 1; }
expect() {  # expect WHAT FILE TEXT: the file holds the text
    grep -qF -- "$3" "$2" || { echo "--- $2:" >&2; cat "$2" >&2; fail "$1: \"$3\" missing"; }
}

# ---- The new field: one enum value and one row ----
catalogue="$copy/decoder/field_catalogue.h"
python3 - "$catalogue" <<'PY'
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

dump="0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 00090020 00000000 0000ABCD 00000000 000003E5 0000B1A3"
build="$work/build"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
gui=ON
[ -n "$(find /usr/lib /usr/lib64 -name Qt6WidgetsConfig.cmake -print -quit 2>/dev/null)" ] || gui=OFF
cmake -S "$copy" -B "$build" "${generator[@]}" "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DQUILLMARK_BUILD_GUI=$gui -DQUILLMARK_BUILD_WEB=OFF -DQUILLMARK_BUILD_BROWSER=OFF >"$work/configure.log"

# ---- quillmark-decode: report, JSON, --explain ----
cmake --build "$build" --target quillmark-decode -j2 >"$work/build-cli.log" || fail "quillmark-decode does not build"
decode="$build/bin/quillmark-decode"
printf '%s' "$dump" | "$decode" >"$work/report.txt"
expect "report" "$work/report.txt" $'Digits Dialed: 301B\nCR Word 10: 0000ABCD\n'
printf '%s' "$dump" | "$decode" --json >"$work/record.json"
expect "JSON" "$work/record.json" '"DigsDialed":"301B","CRWord10":"0000ABCD","PointersDiffer":true'
printf '%s' "$dump" | "$decode" --explain >"$work/explain.txt"
expect "--explain" "$work/explain.txt" $'CR Word 10: 0000ABCD\n    word 10, characters 1-8: 0000ABCD\n'
printf '%s' "$dump" | "$decode" --json --explain >"$work/explain.json"
expect "JSON --explain" "$work/explain.json" '"CRWord10":[{"word":10,"of":"word","start":1,"length":8,"text":"0000ABCD"}]'
echo "report, JSON and --explain show the new field"

# ---- The window: the build fails until its geometry table has the field, then shows it ----
if [ "$gui" = ON ]; then
    # Ninja builds the one object that holds the table.
    if [ ${#generator[@]} -gt 0 ]; then
        window_object=ui/main/CMakeFiles/quillmark_ui_main.dir/frmMain.cpp.o
        if cmake --build "$build" --target "$window_object" >"$work/build-window-missing.log" 2>&1; then
            fail "the window builds without a place for the new field"
        fi
        expect "window build" "$work/build-window-missing.log" "kResultGeometry misses a field"
    fi
    sed -i 's|^\(    ResultGeometry{Field::DigsDialed,.*\)$|\1\n    ResultGeometry{Field::CRWord10, 4440, 1335, 6000, 3120},|' \
        "$copy/ui/main/frmMain.cpp"
    grep -q "Field::CRWord10" "$copy/ui/main/frmMain.cpp" || fail "window geometry row not added"
    cmake --build "$build" --target tst_frmMain -j2 >"$work/build-window.log" || fail "the window does not build"
    QT_QPA_PLATFORM=offscreen "$build/bin/tst_frmMain" resultRowsFollowTheCatalogue >"$work/window.txt" 2>&1 ||
        { cat "$work/window.txt" >&2; fail "window rows"; }
    expect "window" "$work/window.txt" "lblCRWord10 lblCRWord10Data: 00000000"  # word 10 of the worked example
    echo "the window shows the new field"
else
    echo "SKIP: window (Qt 6 Widgets not found)"
fi

# ---- The web page: its rows come from the module ----
browser=$(command -v chromium || command -v chromium-browser || true)
if command -v emcmake >/dev/null && [ -n "$browser" ]; then
    export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
    page="$work/page/quillmark.html"
    emcmake cmake -S "$copy/web/wasm" -B "$work/wasm" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
        "-DQUILLMARK_SOURCE_DIR=$copy" -DQUILLMARK_VERSION=0.0.0 "-DQUILLMARK_PAGE=$page" >"$work/configure-web.log"
    cmake --build "$work/wasm" -j2 >"$work/build-web.log" || fail "the page does not build"
    "$browser" --headless --no-sandbox --disable-gpu --virtual-time-budget=10000 \
        --dump-dom "file://$page" >"$work/page.html" 2>"$work/browser.log" || fail "the page does not load"
    expect "page" "$work/page.html" 'data-ready="true"'
    expect "page" "$work/page.html" '<div class="row"><label id="lblDigsDialed" for="lblDigsDialedData">Digits Dialed</label><output id="lblDigsDialedData" aria-live="off" tabindex="0"></output></div><div class="row"><label id="lblCRWord10" for="lblCRWord10Data">CR Word 10</label><output id="lblCRWord10Data" aria-live="off" tabindex="0"></output></div>'
    echo "the page shows the new field"
else
    echo "SKIP: web page (emcmake or chromium not found)"
fi
echo "a sixteenth field reaches every output"
