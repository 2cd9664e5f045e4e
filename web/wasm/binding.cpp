// SPDX-License-Identifier: MIT
// The decoder as the web page calls it. Text crosses between JavaScript and WebAssembly as
// UTF-8 in plain buffers: the page writes into the input buffer, calls one operation, and reads
// the answer texts back by index. The page holds no decoding logic of its own.

#include <emscripten/emscripten.h>

#include <array>
#include <cstddef>
#include <string>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/provenance.h"

namespace {

using quillmark::kFieldCount;

std::string input;                        // what the page handed over last
quillmark::ResultCaptions captions;       // of the last decode, or set one by one for a report
quillmark::ResultCaptions sources;        // where each caption came from; empty where unknown
std::string answer;                       // trimmed text or report

bool InRange(int index) { return index >= 0 && static_cast<std::size_t>(index) < kFieldCount; }

const std::string& Caption(int index) {
    static const std::string none;
    return InRange(index) ? captions[static_cast<std::size_t>(index)] : none;
}

const std::string& Source(int index) {
    static const std::string none;
    return InRange(index) ? sources[static_cast<std::size_t>(index)] : none;
}

// What the page builds its result rows from, per field in result label order: the result's
// control name ("lbl" + key + "Data"), its caption label's control name, the caption, the key.
enum FieldPart { kOutputName, kLabelName, kCaption, kKey, kFieldParts };
const std::array<std::array<std::string, kFieldParts>, kFieldCount> kFieldTexts = [] {
    std::array<std::array<std::string, kFieldParts>, kFieldCount> texts;
    for (const quillmark::FieldRow& row : quillmark::kFields) {
        const std::string key(row.key);
        texts[quillmark::IndexOf(row.field)] = {"lbl" + key + "Data", std::string(row.label),
                                                std::string(row.caption), key};
    }
    return texts;
}();

const std::string& FieldText(int index, int part) {
    static const std::string none;
    return InRange(index) && part >= 0 && part < kFieldParts
               ? kFieldTexts[static_cast<std::size_t>(index)][static_cast<std::size_t>(part)]
               : none;
}

// Fills one text per result label, in result label order, telling which word and characters
// its caption came from, one line per source, as the window's tooltips tell it. The page shows
// a non-empty source in the result's title.
void DescribeSources(const quillmark::DataWords& words, quillmark::ResultCaptions& out) {
    const quillmark::FieldSources found = quillmark::SourcesOf(words);
    for (const quillmark::FieldRow& row : quillmark::kFields) {
        const std::size_t index = quillmark::IndexOf(row.field);
        out[index] = quillmark::SourcesText(row.field, found[index]);
    }
}

}  // namespace

extern "C" {

// The result rows: how many, and per row its names, caption and key (FieldPart) and whether it
// is a digit pointer, which the page marks when the pointers differ.
EMSCRIPTEN_KEEPALIVE int WebFieldCount() { return static_cast<int>(kFieldCount); }
EMSCRIPTEN_KEEPALIVE const char* WebFieldText(int index, int part) { return FieldText(index, part).data(); }
EMSCRIPTEN_KEEPALIVE std::size_t WebFieldTextSize(int index, int part) { return FieldText(index, part).size(); }
EMSCRIPTEN_KEEPALIVE int WebFieldIsPointer(int index) {
    return InRange(index) && quillmark::IsPointer(quillmark::kFields[static_cast<std::size_t>(index)]) ? 1 : 0;
}

// A buffer of `size` bytes for the next input text; valid until the next call of any function.
EMSCRIPTEN_KEEPALIVE char* WebInput(std::size_t size) {
    input.resize(size);
    return input.data();
}

// Decodes the input as the window's "DeBug" button does; returns 1 when the digit load and
// unload pointers differ. The captions and their sources are then readable by index.
EMSCRIPTEN_KEEPALIVE int WebDecode() {
    static quillmark::DataWords words;
    words = {};
    quillmark::ReadDataWords(input, words);
    const quillmark::DecodedFields fields = quillmark::DecodeCallRegister(words);
    captions = quillmark::CaptionsInLabelOrder(fields);
    DescribeSources(words, sources);
    return fields.PointersDiffer ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* WebCaption(int index) { return Caption(index).data(); }
EMSCRIPTEN_KEEPALIVE std::size_t WebCaptionSize(int index) { return Caption(index).size(); }
EMSCRIPTEN_KEEPALIVE const char* WebSource(int index) { return Source(index).data(); }
EMSCRIPTEN_KEEPALIVE std::size_t WebSourceSize(int index) { return Source(index).size(); }

// The input becomes caption `index` of the report that WebBuildReport writes.
EMSCRIPTEN_KEEPALIVE void WebSetCaption(int index) {
    if (InRange(index)) captions[static_cast<std::size_t>(index)] = input;
}

EMSCRIPTEN_KEEPALIVE void WebBuildReport() { answer = quillmark::BuildReport(captions); }

EMSCRIPTEN_KEEPALIVE void WebTrimFirstWord() { answer = quillmark::TrimFirstWord(input); }

EMSCRIPTEN_KEEPALIVE const char* WebAnswer() { return answer.data(); }
EMSCRIPTEN_KEEPALIVE std::size_t WebAnswerSize() { return answer.size(); }

}  // extern "C"
