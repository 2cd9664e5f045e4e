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

#include "decoder/bits.h"
#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"
#include "decoder/word_views.h"

namespace quillmark {

namespace {

constexpr std::string_view kTnHint = "Use LD 32 to Convert TN H.";

// Within a digit word the last hexadecimal digit comes first.
constexpr std::array<std::size_t, 4> kDigitPositions{8, 7, 6, 5};

// A zero nibble is an empty digit slot and "A" stands for the digit 0; anything else is shown
// as it stands.
template <class Words>
void AppendDialedDigits(std::string& digits, const FieldRow& row, const Words& words) {
    for (int k = row.word; k <= row.lastWord; ++k) {
        const std::string_view word = words.Word(k);
        // Where the first eight bytes are ASCII, character n is byte n: index directly.
        const std::string_view head = word.substr(0, kDigitPositions.front());
        if (utf8::IsAscii(head)) {
            std::array<char, kDigitPositions.size()> found;
            std::size_t count = 0;
            for (std::size_t position : kDigitPositions) {
                if (position > head.size() || head[position - 1] == '0') continue;
                found[count++] = head[position - 1] == 'A' ? '0' : head[position - 1];
            }
            digits.append(found.data(), count);
            continue;
        }
        for (std::size_t position : kDigitPositions) {
            const std::string digit = MidText(word, position, 1);
            if (digit.empty() || digit == "0") continue;
            digits += digit == "A" ? std::string_view("0") : std::string_view(digit);
        }
    }
}

// Replaces what `out` holds by `text`, keeping its storage.
void Put(std::string& out, std::string_view text) {
    out.clear();
    out.append(text);
}

// Writes the shown text of a cut into `shown`. The aux PM is named under the main PM code.
void Show(std::string& shown, Shown how, std::string_view cut, std::string_view mainPmCode) {
    switch (how) {
        case Shown::AsTyped: Put(shown, cut); return;
        case Shown::MainPmName: Put(shown, MainPMName(cut)); return;             // "UNDEFINED"
        case Shown::AuxPmName: Put(shown, AuxPMName(mainPmCode, cut)); return;   // "UNKNOWN" / ""
        case Shown::UnitTypeName: Put(shown, UnitTypeName(cut)); return;         // "UNKNOWN"
        case Shown::QueueName: Put(shown, QueueName(cut)); return;               // "UNKNOWN"
        case Shown::TnHint:
            Put(shown, kTnHint);
            shown.append(cut);
            return;
        case Shown::Pointer: {
            // The five bit characters stay as they are behind "H.", followed by their value.
            char value[4];
            const auto end = std::to_chars(value, value + sizeof value, BinVal(cut)).ptr;
            Put(shown, "H.");
            shown.append(cut);
            shown.append(" (DEC: ");
            shown.append(value, end);
            shown += ')';
            return;
        }
        case Shown::DialedDigits: return;  // a run of words, not one cut
    }
}

// The walk over the catalogue. `Words` gives Word(k), the word as typed, and Cut(row), the
// characters a row takes from its word or bit string.
template <class Words>
void DecodeInto(Words& words, DecodedFields& fields) {
    for (const FieldRow& row : kFields) {
        std::string& shown = fields.*row.member;
        if (row.shown == Shown::DialedDigits) {
            shown.clear();
            AppendDialedDigits(shown, row, words);
            continue;
        }
        const auto cut = words.Cut(row);
        if (row.code != nullptr) Put(fields.Codes.*row.code, cut);
        Show(shown, row.shown, cut, fields.Codes.MainPM);
    }
    fields.PointersDiffer = fields.DigitLoad != fields.DigitUnload;
}

// The words as ReadDataWords left them in the arrays; arrays filled by hand may hold any bytes.
class ArrayWords {
public:
    explicit ArrayWords(const DataWords& words) : words_(words) {}
    std::string_view Word(int k) const { return words_.HexWords[static_cast<std::size_t>(k)]; }
    std::string Cut(const FieldRow& row) const {
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
constexpr std::size_t kBitCharsOfAWord = 32;
constexpr std::size_t kWordCharsForBits = kBitCharsOfAWord / 4;

constexpr bool BitCutsReachOnlyAWord() {
    for (const FieldRow& row : kFields)
        if (row.from == From::Bits && (row.cut.take == Take::WholeWord || BitReach(row.cut) > kBitCharsOfAWord))
            return false;
    return true;
}
static_assert(BitCutsReachOnlyAWord(), "a bit cut needs the bits of more than eight characters");

using BitBuffer = std::array<char, kNotHexBits.size() * kWordCharsForBits>;

std::string_view BitCut(std::string_view word, Cut cut, BitBuffer& buffer) {
    const std::size_t chars = (BitReach(cut) + 3) / 4;
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
    explicit TextWords(std::string_view text) : views_(text) {}
    std::string_view Word(int k) const { return views_[k]; }
    std::string_view Cut(const FieldRow& row) {
        const std::string_view word = views_[row.word];
        return row.from == From::Word ? CutView(word, row.cut) : BitCut(word, row.cut, bits_);
    }

private:
    WordViews views_;
    BitBuffer bits_;
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
    TextWords source(text);
    DecodeInto(source, fields);
}

}  // namespace quillmark
