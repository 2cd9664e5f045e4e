// SPDX-License-Identifier: MIT
// Cost of one decode (ReadDataWords + DecodeCallRegister, as the window does it, and a record
// kept from text to text, as quillmark-decode does it) for a plain dump and for pastes far
// larger than the thirty words that are read: the second must cost the same as the first.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/record_view.h"
#include "decoder/text_layout.h"

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

// Decoding into one kept record, as a command-line run does line after line.
void DecodeInto(benchmark::State& state, const std::string& text) {
    RecordView record;
    for (auto _ : state) {
        record.Decode(text);
        benchmark::DoNotOptimize(record);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_DecodeInto30Words(benchmark::State& state) { DecodeInto(state, Dump(30)); }
void BM_DecodeInto1MB(benchmark::State& state) { DecodeInto(state, Dump(116509)); }

void BM_DecodeInto30WordsUtf8(benchmark::State& state) {
    std::string text = Dump(30);
    for (std::size_t pos = 0; pos < text.size(); pos += 9) text.replace(pos, 1, "\xc3\xa9");
    DecodeInto(state, text);
}

// Random dumps of thirty words of `fewest` to eight digits, as bench/decoder/make_short_dumps.py
// writes them with seven: names and fields vary from line to line.
std::vector<std::string> RandomDumps(int fewest, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::string> dumps(1024);
    for (std::string& text : dumps) {
        for (int k = 1; k <= 30; ++k) {
            char word[10];
            const int digits = fewest + static_cast<int>(random() % (9 - fewest));
            std::snprintf(word, sizeof word, "%0*X", digits,
                          static_cast<unsigned>(random()) >> (32 - 4 * digits));
            text += k > 1 ? " " : "";
            text += word;
        }
    }
    return dumps;
}
std::vector<std::string> ShortDumps() { return RandomDumps(7, 1); }

// One decode per iteration, through a different dump each time; the record read back as the
// report with LF line ends.
void BM_ShortDumpsWindowWay(benchmark::State& state) {
    const std::vector<std::string> dumps = ShortDumps();
    std::size_t next = 0;
    std::string out;
    for (auto _ : state) {
        DataWords words;
        ReadDataWords(dumps[next++ % dumps.size()], words);
        out = BuildReport(CaptionsInLabelOrder(DecodeCallRegister(words)));
        benchmark::DoNotOptimize(out);
    }
}

// One decode per iteration into a kept record, through a different dump each time, and its
// report with LF line ends.
template <class Decode>
void ShortDumpsKept(benchmark::State& state, const Decode& decode) {
    const std::vector<std::string> dumps = ShortDumps();
    std::size_t next = 0;
    RecordView record;
    std::string out;
    for (auto _ : state) {
        decode(dumps[next++ % dumps.size()], record);
        out.clear();
        AppendReport(out, record, "\n");
        benchmark::DoNotOptimize(out);
    }
}

// Read as views, as quillmark-decode does it.
void BM_ShortDumpsRecordView(benchmark::State& state) {
    ShortDumpsKept(state, [](const std::string& text, RecordView& record) { record.Decode(text); });
}

// Dumps of thirty eight-digit words, decoded from their text and from the layout the log reader
// makes for them, which tells the decoder that every word is eight digits.
std::vector<std::string> EightDigitDumps() { return RandomDumps(8, 2); }

void BM_EightDigitDumpsFromText(benchmark::State& state) {
    const std::vector<std::string> dumps = EightDigitDumps();
    std::size_t next = 0;
    RecordView record;
    for (auto _ : state) {
        record.Decode(dumps[next++ % dumps.size()]);
        benchmark::DoNotOptimize(record.Shown(Field::DigsDialed));
    }
}

void BM_EightDigitDumpsFromLayout(benchmark::State& state) {
    const std::vector<std::string> dumps = EightDigitDumps();
    std::vector<std::unique_ptr<TextLayout>> layouts;
    for (const std::string& text : dumps) {
        layouts.push_back(std::make_unique<TextLayout>());
        layouts.back()->ReadEightDigitWords(text);
    }
    std::size_t next = 0;
    RecordView record;
    for (auto _ : state) {
        record.Decode(*layouts[next++ % layouts.size()]);
        benchmark::DoNotOptimize(record.Shown(Field::DigsDialed));
    }
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
BENCHMARK(BM_DecodeInto30Words);
BENCHMARK(BM_DecodeInto1MB);
BENCHMARK(BM_DecodeInto30WordsUtf8);
BENCHMARK(BM_ShortDumpsWindowWay);
BENCHMARK(BM_ShortDumpsRecordView);
BENCHMARK(BM_EightDigitDumpsFromText);
BENCHMARK(BM_EightDigitDumpsFromLayout);
