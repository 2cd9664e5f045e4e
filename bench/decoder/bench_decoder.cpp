// SPDX-License-Identifier: MIT
// Cost of one decode (ReadDataWords + DecodeCallRegister) for a plain dump and for pastes far
// larger than the thirty words that are read: the second must cost the same as the first.

#include <benchmark/benchmark.h>

#include <string>

#include "decoder/decoder.h"

namespace {

using namespace quillmark;

std::string Dump(int words) {
    std::string text;
    for (int k = 1; k <= words; ++k) {
        char word[10];
        std::snprintf(word, sizeof word, "%08X", 0x0008F5B4u + static_cast<unsigned>(k) * 0x1111u);
        if (k > 1) text += ' ';
        text += word;
    }
    return text;
}

void Decode(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        DataWords words;
        ReadDataWords(text, words);
        DecodedFields fields = DecodeCallRegister(words);
        benchmark::DoNotOptimize(fields);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_Decode30Words(benchmark::State& state) { Decode(state, Dump(30)); }

// About 1 MB of words behind the first thirty.
void BM_Decode1MB(benchmark::State& state) { Decode(state, Dump(116509)); }

// 100 MB, pasted with line breaks.
void BM_Decode100MB(benchmark::State& state) {
    std::string text = Dump(30) + " ";
    text += std::string(100u << 20, '\n');
    Decode(state, text);
}

void BM_Decode30WordsUtf8(benchmark::State& state) {
    std::string text = Dump(30);
    for (std::size_t pos = 0; pos < text.size(); pos += 9) text.replace(pos, 1, "\xc3\xa9");
    Decode(state, text);
}

void BM_DecodeCallRegisterOnly(benchmark::State& state) {
    DataWords words;
    ReadDataWords(Dump(30), words);
    for (auto _ : state) benchmark::DoNotOptimize(DecodeCallRegister(words));
}

}  // namespace

BENCHMARK(BM_Decode30Words);
BENCHMARK(BM_Decode1MB);
BENCHMARK(BM_Decode100MB);
BENCHMARK(BM_Decode30WordsUtf8);
BENCHMARK(BM_DecodeCallRegisterOnly);
