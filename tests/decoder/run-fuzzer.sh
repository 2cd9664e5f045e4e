#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds a fuzz target of the decoder with the default clang and libFuzzer and runs it on one
# core, seeded from its committed corpus. Crashing inputs land in <build>/fuzz-artifacts/; after
# the fix, copy them into the corpus so the replay test keeps them.
#   tests/decoder/run-fuzzer.sh [seconds] [target]   (default 600; decoder, text_spans (the
#                                                     field spans and word notes), log_reader
#                                                     or cli)
# The build goes to build-fuzz/ at the top of the sources, or to QUILLMARK_FUZZ_BUILD_DIR.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="${QUILLMARK_FUZZ_BUILD_DIR:-$top/build-fuzz}"
seconds="${1:-600}"
target="${2:-decoder}"
case "$target" in
    decoder) corpus="$top/tests/decoder/corpus" ;;
    text_spans) corpus="$top/tests/decoder/corpus-spans" ;;
    log_reader) corpus="$top/tests/decoder/corpus_log" ;;
    cli) corpus="$top/tests/cli/corpus" ;;
    *) echo "run-fuzzer: no fuzz target $target (decoder, text_spans, log_reader, cli)" >&2; exit 2 ;;
esac

for tool in clang clang++; do
    command -v $tool >/dev/null || { echo "run-fuzzer: needs $tool (apt-get install clang libclang-rt-dev)" >&2; exit 1; }
done
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DQUILLMARK_FUZZ=ON \
    -DQUILLMARK_BUILD_GUI=OFF -DQUILLMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target "${target}_fuzz" -j2
mkdir -p "$build/$target-corpus" "$build/fuzz-artifacts"
cp -n "$corpus"/* "$build/$target-corpus/" 2>/dev/null || true
# One core of several, so that the rest of the machine stays usable.
pin=()
if [ "$(nproc)" -gt 1 ] && command -v taskset >/dev/null; then pin=(taskset -c 1); fi
exec "${pin[@]}" "$build/bin/${target}_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" "$build/$target-corpus"
