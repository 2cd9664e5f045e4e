// SPDX-License-Identifier: MIT
#pragma once
// The decoder: a record whose texts are views instead of strings, of the message text, of the
// name tables, or of the few characters this object makes itself (bit characters, a pointer's
// value, the dialed digits). Nothing is copied that the record only passes on, so one object
// decodes many messages one after another. DecodeCallRegister and DecodeText are this record
// copied into strings.

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "decoder/bits.h"
#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/text_layout.h"

namespace quillmark {

// A shown text in up to three pieces, read one after the other: "H.", "00101", " (DEC: 5)".
struct TextParts {
    std::array<std::string_view, 3> parts{};

    std::size_t Size() const { return parts[0].size() + parts[1].size() + parts[2].size(); }
    void AssignTo(std::string& out) const;
    // Whether both read as the same text, however they are cut into pieces.
    friend bool SameText(const TextParts& a, const TextParts& b);
};

// Every character of a word gives four bit characters (a hexadecimal digit) or five ("ERROR");
// a bit cut reaches at most 32 bit characters, so eight characters of its word.
inline constexpr std::size_t kBitCharsOfAWord = 32;
inline constexpr std::size_t kWordCharsForBits = kBitCharsOfAWord / 4;
using BitBuffer = std::array<char, kNotHexBits.size() * kWordCharsForBits>;

// The dialed digits: the cut characters of each of the digit words, each at most four bytes.
inline constexpr std::size_t kMostDialedBytes =
    4 * RowOf(Field::DigsDialed).cut.length *
    static_cast<std::size_t>(RowOf(Field::DigsDialed).lastWord - RowOf(Field::DigsDialed).word + 1);
// One byte more: a digit is written before it is known whether it is skipped.
using DigitBuffer = std::array<char, kMostDialedBytes + 1>;

// Where the texts a field makes itself are kept while they are read.
struct FieldScratch {
    std::array<BitBuffer, kFieldCount> bits;               // the bit characters a cut reaches
    std::array<std::array<char, 16>, kFieldCount> values;  // " (DEC: 31)"
    DigitBuffer digits;
};

// The size of a cut from a word of eight digits (or from its 32 bit characters).
constexpr std::size_t EightDigitCutSize(const FieldRow& row) {
    if (row.cut.take != Take::WholeWord) return row.cut.length;
    return row.from == From::Bits ? kBitCharsOfAWord : 8;
}

// The pieces of a field's text in a record of a fixed shape (RecordView::FixedShape): a field
// shown as cut is its cut, one behind the TN hint is the hint and its cut, each of a size known
// when compiling; the other texts (names, pointers, dialed digits) vary.
struct FixedPieces {
    bool fixed = false;
    std::array<std::size_t, 3> sizes{};
};
constexpr FixedPieces FixedPiecesOf(const FieldRow& row) {
    switch (row.shown) {
        case Shown::AsTyped: return {true, {EightDigitCutSize(row), 0, 0}};
        case Shown::TnHint: return {true, {kTnHint.size(), EightDigitCutSize(row), 0}};
        default: return {};
    }
}

// Copies the text of field I of a record of a fixed shape, from piece `First` on (a writer that
// has the TN hint in its own opening starts after it): a piece whose size the catalogue fixes
// at that size, a text that varies piece by piece. Returns the end of the copy.
template <std::size_t I, std::size_t First = 0>
char* CopyFixedShapeText(char* next, const TextParts& text) {
    constexpr FixedPieces kPieces = FixedPiecesOf(kFields[I]);
    if constexpr (kPieces.fixed) {
        const auto copy = [&]<std::size_t P>(std::integral_constant<std::size_t, P>) {
            if constexpr (P < kPieces.sizes.size() && kPieces.sizes[P] > 0) {
                std::memcpy(next, text.parts[P].data(), kPieces.sizes[P]);
                next += kPieces.sizes[P];
            }
        };
        copy(std::integral_constant<std::size_t, First>());
        copy(std::integral_constant<std::size_t, First + 1>());
        copy(std::integral_constant<std::size_t, First + 2>());
    } else {
        // Mostly one piece: a name, a pointer, the digits.
        for (std::string_view part : text.parts)
            if (!part.empty()) next = bytes::CopyText(next, part);
    }
    return next;
}

// The last word a field reads alone: a record of a fixed shape reaches it.
inline constexpr int kLastSingleWord = [] {
    int last = 0;
    for (const FieldRow& row : kFields)
        if (!ReadsRun(row) && row.word > last) last = row.word;
    return last;
}();

class RecordView {
public:
    RecordView() = default;
    RecordView(const RecordView&) = delete;
    RecordView& operator=(const RecordView&) = delete;

    // Decodes the text as ReadDataWords and DecodeCallRegister do. The views point into `text`
    // and into this object: they hold while both do and until the next Decode.
    void Decode(std::string_view text);
    // Decodes words already in arrays, as DecodeCallRegister does; the views point into `words`.
    void Decode(const DataWords& words);
    // Decodes a text read by the caller; the views point into `layout` and its text, which
    // must outlive them.
    void Decode(const TextLayout& layout);
    // The record as strings.
    void CopyTo(DecodedFields& fields) const;

    // The shown text of a field, always valid UTF-8.
    const TextParts& Shown(Field field) const { return shown_[IndexOf(field)]; }
    // The code a looked-up field was named from; empty for the other fields.
    std::string_view Code(Field field) const { return codes_[IndexOf(field)]; }
    bool PointersDiffer() const { return pointersDiffer_; }
    // The text last decoded; empty after Decode(words). Every text of the record is made of its
    // characters and of plain text (IsPlainText: names, the TN hint, bit characters, a
    // pointer's value), so a message without quotes, backslashes, control characters or bytes
    // beyond ASCII gives a record without them.
    std::string_view Message() const { return message_; }
    bool ReadFromText() const { return fromText_; }
    // Every word is eight upper-case hexadecimal digits and the words each field reads alone
    // are there: each text shown as cut, and each code, is its cut, of the size
    // FixedPiecesOf and EightDigitCutSize give.
    bool FixedShape() const {
        return layout_->EightDigitWords() && layout_->WordCount() >= kLastSingleWord;
    }
    // The words and their places, as decoded last: the one reading of the text that the
    // sources, spans and notes of this record are made from.
    const TextLayout& Layout() const { return *layout_; }

private:
    void DecodeWords();

    std::string_view message_;
    bool fromText_ = false;
    TextLayout own_;
    const TextLayout* layout_ = &own_;
    FieldScratch scratch_;
    std::array<TextParts, kFieldCount> shown_{};
    std::array<std::string_view, kFieldCount> codes_{};
    bool pointersDiffer_ = false;
};

// The report lines of a record (as BuildReport writes them), appended to `out`, each ended by
// `lineEnd` instead of CR LF.
void AppendReport(std::string& out, const RecordView& record, std::string_view lineEnd);

}  // namespace quillmark
