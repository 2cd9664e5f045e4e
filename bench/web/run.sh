#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Figures of the web page in headless Chromium and Firefox (or the one QM_BROWSER names): its size, the time from opening the file to the
# first decode being possible, and the time of one decode of a 30-word message; with a second
# argument, screenshots in light and dark at phone and desktop widths. Then how fast the marks
# follow the caret and the pointer on a 65,536-character input (marks.cjs).
#   bench/web/run.sh BUILD_DIR [SCREENSHOT_DIR]
# Uses the node modules that the web tests installed (ctest -R web.node_modules).
set -euo pipefail
build="$(cd "${1:?usage: bench/web/run.sh BUILD_DIR [SCREENSHOT_DIR]}" && pwd)"
export NODE_PATH="$build/tests/web/modules/node_modules"
export QM_PAGE="$(sed -n 's/^QUILLMARK_WEB_PAGE:INTERNAL=//p' "$build/CMakeCache.txt")"
# Timings depend on what else the machine runs: the browsers run at a raised priority where that
# is allowed (as root).
priority=()
nice -n -5 true 2>/dev/null && priority=(nice -n -5)
for engine in ${QM_BROWSER:-chromium firefox}; do
    QM_BROWSER="$engine" "${priority[@]}" node "$(dirname "${BASH_SOURCE[0]}")/measure.cjs" "${2:-}"
done
exec node "$(dirname "${BASH_SOURCE[0]}")/marks.cjs"
