#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the decoder fuzz target with the default clang and libFuzzer in build-fuzz/ and runs it on one core,
# seeded from the committed corpus. Crashing inputs land in build-fuzz/fuzz-artifacts/; after
# the fix, copy them into tests/decoder/corpus/ so the replay test keeps them.
#   tests/decoder/run-fuzzer.sh [seconds]      (default 600)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="$top/build-fuzz"
seconds="${1:-600}"

CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DQUILLMARK_FUZZ=ON >/dev/null
cmake --build "$build" --target decoder_fuzz -j2
mkdir -p "$build/fuzz-corpus" "$build/fuzz-artifacts"
cp -n "$top"/tests/decoder/corpus/* "$build/fuzz-corpus/" 2>/dev/null || true
exec taskset -c 1 "$build/bin/decoder_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" "$build/fuzz-corpus"
