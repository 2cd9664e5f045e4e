#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A fresh configuration with CMake's default generator on Linux (Unix Makefiles), building the
# targets that write generated files. Ninja makes every output folder itself, Make does not, so
# a rule that forgets to make its folder fails here and not only on a user's first build.
#
#   default-generator.sh SOURCE_DIR WORK_DIR "TARGET..." [CMAKE_OPTION...]
set -euo pipefail
source_dir="$1"
work="$2"
read -r -a targets <<<"$3"
shift 3

rm -rf "$work"
# CMAKE_GENERATOR in the environment would choose another generator for the build and for the
# web page's inner build; the check is about Make.
env -u CMAKE_GENERATOR cmake -S "$source_dir" -B "$work" -G "Unix Makefiles" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DQUILLMARK_BUILD_BENCH=OFF "$@" >"$work.log" ||
    { cat "$work.log"; exit 1; }
echo "targets: ${targets[*]}"
env -u CMAKE_GENERATOR cmake --build "$work" --parallel 2 --target "${targets[@]}"

# The version record is written at configuration time, the rest by the build.
test -s "$work/generated/quillmark/version.h"
find "$work" -path "$work/CMakeFiles" -prune -o -type f \
    \( -name '*.html' -o -name '*.1.gz' -o -name '*.png' -o -name 'changelog*.gz' \) -print |
    sed "s|^$work/||" | sort
