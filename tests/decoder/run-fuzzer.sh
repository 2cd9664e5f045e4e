#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the decoder fuzz target with the default clang and libFuzzer and runs it on one core,
# seeded from the committed corpus. Crashing inputs land in <build>/fuzz-artifacts/; after
# the fix, copy them into tests/decoder/corpus/ so the replay test keeps them.
#   tests/decoder/run-fuzzer.sh [seconds]      (default 600)
# The build goes to build-fuzz/ at the top of the sources, or to QUILLMARK_FUZZ_BUILD_DIR.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="${QUILLMARK_FUZZ_BUILD_DIR:-$top/build-fuzz}"
seconds="${1:-600}"

for tool in clang clang++; do
    command -v $tool >/dev/null || { echo "run-fuzzer: needs $tool (apt-get install clang libclang-rt-dev)" >&2; exit 1; }
done
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DQUILLMARK_FUZZ=ON \
    -DQUILLMARK_BUILD_GUI=OFF -DQUILLMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target decoder_fuzz -j2
mkdir -p "$build/fuzz-corpus" "$build/fuzz-artifacts"
cp -n "$top"/tests/decoder/corpus/* "$build/fuzz-corpus/" 2>/dev/null || true
# One core of several, so that the rest of the machine stays usable.
pin=()
if [ "$(nproc)" -gt 1 ] && command -v taskset >/dev/null; then pin=(taskset -c 1); fi
exec "${pin[@]}" "$build/bin/decoder_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" "$build/fuzz-corpus"
