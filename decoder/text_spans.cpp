// SPDX-License-Identifier: MIT
// Where the fields stand in the message text: each field's cut, placed through the text's layout.

#include "decoder/text_spans.h"

#include <algorithm>

#include "decoder/bits.h"
#include "decoder/text_layout.h"
#include "decoder/utf8.h"

namespace quillmark {

namespace {

// Characters [first, first + count) of a word, 0-based.
struct CharRange {
    std::size_t first = 0;
    std::size_t count = 0;
};

std::size_t BitWidth(std::string_view word, std::size_t pos, std::size_t size) {
    return size == 1 ? BitsOfByte(word[pos]).size() : kNotHexBits.size();
}

// The characters of a word whose bit characters meet the bit characters a cut takes from its bit
// string: four bits per hexadecimal digit, five ("ERROR") for any other.
CharRange DigitsHoldingBits(std::string_view word, Cut cut) {
    std::size_t bitCount = 0;
    if (cut.take == Take::Right)
        for (std::size_t pos = 0, size = 0; pos < word.size(); pos += size) {
            size = utf8::CharSize(word.substr(pos));
            bitCount += BitWidth(word, pos, size);
        }
    const std::size_t cutFirst =
        cut.take == Take::Right ? bitCount - std::min(cut.length, bitCount) : cut.start - 1;
    const std::size_t cutEnd = cutFirst + cut.length;
    CharRange range{kNoPlace, 0};
    std::size_t bit = 0;
    std::size_t index = 0;
    for (std::size_t pos = 0; pos < word.size() && bit < cutEnd; ++index) {
        const std::size_t size = utf8::CharSize(word.substr(pos));
        const std::size_t width = BitWidth(word, pos, size);
        if (bit + width > cutFirst) {
            if (range.first == kNoPlace) range.first = index;
            ++range.count;
        }
        bit += width;
        pos += size;
    }
    if (range.first == kNoPlace) return {};
    return range;
}

// The characters of a word a cut of the word as typed takes.
CharRange CharsOfCut(std::string_view word, Cut cut) {
    const std::string_view taken = CutView(word, cut);
    const auto before = static_cast<std::size_t>(taken.data() - word.data());
    return {utf8::CharCount(word.substr(0, before)), utf8::CharCount(taken)};
}

// Adds the text runs of characters `range` of a word.
void AddRuns(const WordPlace& word, CharRange range, std::vector<TextSpan>& out) {
    std::size_t index = 0;  // word index of the run's first character
    const std::size_t end = range.first + range.count;
    for (const WordRun& run : word.runs) {
        const std::size_t from = std::max(index, range.first);
        const std::size_t to = std::min(index + run.length, end);
        if (from < to) out.push_back({run.start + (from - index), to - from});
        index += run.length;
        if (index >= end) break;
    }
}

}  // namespace

FieldSpans SpansOf(const TextLayout& layout) {
    FieldSpans spans;
    for (const FieldRow& row : kFields) {
        std::vector<TextSpan>& out = spans[IndexOf(row.field)];
        // Every word the field reads is marked, also a digit word whose digits were all "0".
        for (int k = row.word; k <= row.lastWord; ++k) {
            const std::string_view word = layout[k];
            if (word.empty()) continue;
            const CharRange range = row.from == From::Bits ? DigitsHoldingBits(word, row.cut)
                                                           : CharsOfCut(word, row.cut);
            if (range.count > 0) AddRuns(layout.Place(k), range, out);
        }
    }
    return spans;
}

FieldSpans SpansOf(std::string_view text) {
    TextLayout layout;
    layout.Read(text);
    return SpansOf(layout);
}

FieldSet FieldsIn(const FieldSpans& spans, std::size_t start, std::size_t end) {
    FieldSet fields;
    for (std::size_t i = 0; i < spans.size(); ++i)
        for (const TextSpan& span : spans[i])
            if (span.start < end && start < span.end()) {
                fields.set(i);
                break;
            }
    return fields;
}

FieldSet FieldsAtCaret(const FieldSpans& spans, std::size_t position) {
    const FieldSet after = FieldsIn(spans, position, position + 1);
    if (after.any() || position == 0) return after;
    return FieldsIn(spans, position - 1, position);
}

}  // namespace quillmark
