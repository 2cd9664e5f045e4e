// SPDX-License-Identifier: MIT
#pragma once
// Where each decoded field came from: which word, which characters of the word as typed or of
// its bit string, and those characters themselves. Plain data, so that a window tooltip, a
// text report and a JSON object all show the same thing:
//   {"word": 3, "of": "bits", "start": 20, "length": 5, "text": "10011"}

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"

namespace quillmark {

// One run of characters a field was cut from.
struct Source {
    int word = 0;            // 1..30
    From of = From::Word;    // the word as typed, or its bit string
    std::size_t start = 1;   // 1-based position of the first character taken
    std::size_t length = 0;  // characters taken: fewer than the cut asks when the word is short
    std::string text;        // the characters taken, in the order they stand in the word
    bool lastFirst = false;  // read from the last character to the first (the dialed digits)
};

// One list per field, indexed by IndexOf(Field). Every field has exactly one source, except
// Digits Dialed: one per digit word that gave at least one digit, none when no digit was dialed.
using FieldSources = std::array<std::vector<Source>, kFieldCount>;

class TextLayout;
FieldSources SourcesOf(const TextLayout& layout);
FieldSources SourcesOf(const DataWords& words);

// "word" or "bits": the value of "of" in the JSON form.
std::string_view OfName(From of);

// One source as a line of plain text:
//   "word 3, bit characters 20-24: 10011", "word 2, characters 5-6: 01",
//   "word 13, characters 5-8, read from 8 to 5: B1A3", "word 4 is empty".
std::string SourceText(const Source& source);

// All sources of a field, one line each (no line end after the last). For Digits Dialed without
// a digit it says which words were read.
std::string SourcesText(Field field, const std::vector<Source>& sources);

}  // namespace quillmark
