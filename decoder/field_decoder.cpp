// SPDX-License-Identifier: MIT
// Taking each call register field from its word and position, as the field catalogue lists them.
//
// One walk over the catalogue serves two sources of words: the arrays that ReadDataWords fills
// (what the window shows), and views of the text itself, which copy no word and make bit
// characters only where a field takes them (for decoding many messages). Both give the same
// record, byte for byte.

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "decoder/bits.h"
#include "decoder/code_name.h"
#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/record_view.h"
#include "decoder/utf8.h"
#include "decoder/word_views.h"

namespace quillmark {

namespace {

constexpr std::string_view kTnHint = "Use LD 32 to Convert TN H.";
static_assert(IsPlainText(kTnHint) && IsPlainText("H.") && IsPlainText(kNotHexBits));

// Within a digit word the last hexadecimal digit comes first.
constexpr std::array<std::size_t, 4> kDigitPositions{8, 7, 6, 5};

// A zero nibble is an empty digit slot and "A" stands for the digit 0; anything else is shown
// as it stands. Writes the digits into `buffer` and returns them.
template <class Words>
std::string_view DialedDigits(const FieldRow& row, const Words& words, DigitBuffer& buffer) {
    char* next = buffer.data();
    const auto put = [&next](char digit) {
        *next = digit == 'A' ? '0' : digit;
        next += digit != '0';
    };
    for (int k = row.word; k <= row.lastWord; ++k) {
        const std::string_view word = words.Word(k);
        // A word of fewer bytes than the lowest position has fewer characters too.
        if (word.size() < kDigitPositions.back()) continue;
        // Where the bytes up to the highest position are ASCII, character n is byte n.
        const std::size_t reach = std::min(word.size(), kDigitPositions.front());
        if (utf8::IsAscii(word.substr(0, reach))) {
            for (std::size_t position : kDigitPositions) put(position <= reach ? word[position - 1] : '0');
            continue;
        }
        for (std::size_t position : kDigitPositions) {
            const std::string digit = MidText(word, position, 1);  // one character, valid UTF-8
            if (digit.empty() || digit == "0") continue;
            if (digit == "A") {
                *next++ = '0';
            } else {
                next = std::copy(digit.begin(), digit.end(), next);
            }
        }
    }
    return {buffer.data(), static_cast<std::size_t>(next - buffer.data())};
}

// The shown text of a cut, as views of the cut, of the name tables, and of `value` (a
// pointer's value). The aux PM is named under the main PM code.
TextParts ShownParts(Shown how, std::string_view cut, std::string_view mainPmCode, std::array<char, 16>& value) {
    switch (how) {
        case Shown::AsTyped: return {{cut}};
        case Shown::MainPmName: return {{MainPMName(cut)}};             // "UNDEFINED"
        case Shown::AuxPmName: return {{AuxPMName(mainPmCode, cut)}};   // "UNKNOWN" / ""
        case Shown::UnitTypeName: return {{UnitTypeName(cut)}};         // "UNKNOWN"
        case Shown::QueueName: return {{QueueName(cut)}};               // "UNKNOWN"
        case Shown::TnHint: return {{kTnHint, cut}};
        case Shown::Pointer: {
            // The five bit characters stay as they are behind "H.", followed by their value.
            constexpr std::string_view kOpen = " (DEC: ";
            char* next = std::copy(kOpen.begin(), kOpen.end(), value.data());
            next = std::to_chars(next, value.data() + value.size() - 1, BinVal(cut)).ptr;
            *next++ = ')';
            return {{"H.", cut, std::string_view(value.data(), static_cast<std::size_t>(next - value.data()))}};
        }
        case Shown::DialedDigits: return {};  // a run of words, not one cut
    }
    return {};
}

// The walk over the catalogue. `Words` gives Word(k), the word as typed, and Cut(row, bits),
// the characters a row takes from its word or bit string (made in `bits` where it must be).
// `onField(row, shown, code)` takes each field in turn; the views it gets hold until the cut
// of the next field is made, and for views of the text (TextWords) as long as the scratch.
template <class Words, class OnField>
void WalkFields(Words& words, FieldScratch& scratch, const OnField& onField) {
    decltype(words.Cut(kFields.front(), scratch.bits.front())) mainPmCode{};
    for (const FieldRow& row : kFields) {
        const std::size_t slot = IndexOf(row.field);
        if (row.shown == Shown::DialedDigits) {
            onField(row, TextParts{{DialedDigits(row, words, scratch.digits)}}, std::string_view());
            continue;
        }
        const auto cut = words.Cut(row, scratch.bits[slot]);
        if (row.shown == Shown::MainPmName) mainPmCode = cut;
        onField(row, ShownParts(row.shown, cut, mainPmCode, scratch.values[slot]),
                row.code != nullptr ? std::string_view(cut) : std::string_view());
    }
}

// The walk's texts copied into a record; its strings keep their storage.
template <class Words>
void DecodeInto(Words& words, DecodedFields& fields) {
    FieldScratch scratch;
    WalkFields(words, scratch, [&](const FieldRow& row, const TextParts& shown, std::string_view code) {
        shown.AssignTo(fields.*row.member);
        if (row.code != nullptr) fields.Codes.*row.code = code;
    });
    fields.PointersDiffer = fields.DigitLoad != fields.DigitUnload;
}

// The words as ReadDataWords left them in the arrays; arrays filled by hand may hold any bytes.
class ArrayWords {
public:
    explicit ArrayWords(const DataWords& words) : words_(words) {}
    std::string_view Word(int k) const { return words_.HexWords[static_cast<std::size_t>(k)]; }
    std::string Cut(const FieldRow& row, BitBuffer&) const {
        const auto slot = static_cast<std::size_t>(row.word);
        return CutOf(row.from == From::Word ? words_.HexWords[slot] : words_.BinWords[slot], row.cut);
    }

private:
    const DataWords& words_;
};

// ---- Cuts from views of valid UTF-8 text: a cut is then a part of the text itself ----------

// Start of the character `count` characters on from `pos`, or the end of the text.
std::size_t SkipChars(std::string_view valid, std::size_t pos, std::size_t count) {
    for (; count > 0 && pos < valid.size(); --count) pos += utf8::CharSize(valid.substr(pos));
    return pos;
}

std::string_view MidView(std::string_view valid, std::size_t start, std::size_t length) {
    const std::size_t reach = std::min(start - 1 + length, valid.size());
    if (utf8::IsAscii(valid.substr(0, reach))) return valid.substr(std::min(start - 1, valid.size()), length);
    const std::size_t from = SkipChars(valid, 0, start - 1);
    return valid.substr(from, SkipChars(valid, from, length) - from);
}

std::string_view RightView(std::string_view valid, std::size_t count) {
    std::size_t from = valid.size();
    for (; count > 0 && from > 0; --count) {
        --from;
        while (from > 0 && utf8::IsContinuation(static_cast<unsigned char>(valid[from]))) --from;
    }
    return valid.substr(from);
}

std::string_view CutView(std::string_view valid, Cut cut) {
    switch (cut.take) {
        case Take::WholeWord: return valid;
        case Take::Mid: return MidView(valid, cut.start, cut.length);
        case Take::Right: return RightView(valid, cut.length);
    }
    return {};
}

// Every character of a word gives four bit characters (a hexadecimal digit) or five ("ERROR"),
// so a cut that reaches bit character n needs at most the first (for a Mid cut) or the last
// (for a Right cut) ceil(n / 4) characters of the word: eight for 32 bit characters.
constexpr std::size_t BitReach(Cut cut) { return cut.take == Take::Mid ? cut.start - 1 + cut.length : cut.length; }
constexpr bool BitCutsReachOnlyAWord() {
    for (const FieldRow& row : kFields)
        if (row.from == From::Bits && (row.cut.take == Take::WholeWord || BitReach(row.cut) > kBitCharsOfAWord))
            return false;
    return true;
}
static_assert(BitCutsReachOnlyAWord(), "a bit cut needs the bits of more than eight characters");

// The value of an upper-case hexadecimal digit, or -1 for any other byte.
constexpr std::array<std::int8_t, 256> kHexValues = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (int digit = 0; digit < 16; ++digit) values[static_cast<std::size_t>("0123456789ABCDEF"[digit])] = static_cast<std::int8_t>(digit);
    return values;
}();

std::string_view BitCut(std::string_view word, Cut cut, BitBuffer& buffer) {
    const std::size_t chars = (BitReach(cut) + 3) / 4;
    // Where those characters are all hexadecimal digits (the usual dump), each gives four bit
    // characters: bit character i is bit 3 - i % 4 of character i / 4. A byte that is a digit
    // is a whole character, so the bytes are the characters.
    const std::string_view digits = cut.take == Take::Mid ? word.substr(0, chars)
                                                          : word.substr(word.size() - std::min(chars, word.size()));
    bool allDigits = true;
    for (char c : digits) allDigits = allDigits && kHexValues[static_cast<unsigned char>(c)] >= 0;
    if (allDigits) {
        const std::size_t bitCount = 4 * digits.size();
        const std::size_t from = cut.take == Take::Mid ? std::min(cut.start - 1, bitCount)
                                                       : bitCount - std::min(cut.length, bitCount);
        const std::size_t to = std::min(from + cut.length, bitCount);
        for (std::size_t i = from; i < to; ++i) {
            const int value = kHexValues[static_cast<unsigned char>(digits[i / 4])];
            buffer[i - from] = static_cast<char>('0' + ((value >> (3 - i % 4)) & 1));
        }
        return {buffer.data(), to - from};
    }
    const std::string_view part = cut.take == Take::Mid ? MidView(word, 1, chars) : RightView(word, chars);
    std::size_t size = 0;
    for (std::size_t pos = 0; pos < part.size();) {
        const std::size_t charSize = utf8::CharSize(part.substr(pos));
        const std::string_view bits = charSize == 1 ? BitsOfByte(part[pos]) : kNotHexBits;
        std::copy(bits.begin(), bits.end(), buffer.begin() + static_cast<std::ptrdiff_t>(size));
        size += bits.size();
        pos += charSize;
    }
    return CutView(std::string_view(buffer.data(), size), cut);
}

// The words as views of the text.
class TextWords {
public:
    explicit TextWords(const WordViews& views) : views_(views) {}
    std::string_view Word(int k) const { return views_[k]; }
    std::string_view Cut(const FieldRow& row, BitBuffer& bits) const {
        const std::string_view word = views_[row.word];
        return row.from == From::Word ? CutView(word, row.cut) : BitCut(word, row.cut, bits);
    }

private:
    const WordViews& views_;
};

}  // namespace

std::string CutOf(std::string_view text, Cut cut) {
    switch (cut.take) {
        case Take::WholeWord: return utf8::Sanitized(text);  // arrays filled by hand may hold any bytes
        case Take::Mid: return MidText(text, cut.start, cut.length);
        case Take::Right: return RightText(text, cut.length);
    }
    return {};
}

DecodedFields DecodeCallRegister(const DataWords& words) {
    DecodedFields fields;
    ArrayWords source(words);
    DecodeInto(source, fields);
    return fields;
}

DecodedFields DecodeText(std::string_view text) {
    DataWords words;
    ReadDataWords(text, words);
    return DecodeCallRegister(words);
}

void DecodeText(std::string_view text, DecodedFields& fields) {
    WordViews views;
    views.Read(text);
    TextWords source(views);
    DecodeInto(source, fields);
}

void TextParts::AssignTo(std::string& out) const {
    out.assign(parts[0]);
    out.append(parts[1]);
    out.append(parts[2]);
}

bool SameText(const TextParts& a, const TextParts& b) {
    if (a.Size() != b.Size()) return false;
    // Compared run by run, where neither text changes piece.
    std::size_t pa = 0, pb = 0, ia = 0, ib = 0;
    while (pa < a.parts.size() && pb < b.parts.size()) {
        if (ia == a.parts[pa].size()) {
            ++pa, ia = 0;
        } else if (ib == b.parts[pb].size()) {
            ++pb, ib = 0;
        } else {
            const std::size_t run = std::min(a.parts[pa].size() - ia, b.parts[pb].size() - ib);
            if (a.parts[pa].substr(ia, run) != b.parts[pb].substr(ib, run)) return false;
            ia += run, ib += run;
        }
    }
    return true;
}

void RecordView::Decode(std::string_view text) {
    message_ = text;
    words_.Read(text);
    TextWords source(words_);
    WalkFields(source, scratch_, [this](const FieldRow& row, const TextParts& shown, std::string_view code) {
        shown_[IndexOf(row.field)] = shown;
        codes_[IndexOf(row.field)] = code;
    });
    pointersDiffer_ = !SameText(Shown(Field::DigitLoad), Shown(Field::DigitUnload));
}

}  // namespace quillmark
