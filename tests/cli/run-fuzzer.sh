#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the command-line fuzz target with clang and libFuzzer in build-fuzz-cli/ and runs it on
# one core, seeded from the committed corpus. Crashing inputs land in build-fuzz-cli/fuzz-artifacts/;
# after the fix, copy them into tests/cli/corpus/ so the replay test keeps them.
#   tests/cli/run-fuzzer.sh [seconds]      (default 600; CXX chooses the clang, default clang++)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="$top/build-fuzz-cli"
seconds="${1:-600}"

CXX="${CXX:-clang++}" cmake -S "$top" -B "$build" -G Ninja -DQUILLMARK_FUZZ=ON \
    -DQUILLMARK_BUILD_GUI=OFF -DQUILLMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target cli_fuzz -j2
mkdir -p "$build/fuzz-corpus" "$build/fuzz-artifacts"
cp -n "$top"/tests/cli/corpus/* "$build/fuzz-corpus/" 2>/dev/null || true
exec taskset -c 1 "$build/bin/cli_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" "$build/fuzz-corpus"
