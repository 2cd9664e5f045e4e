// SPDX-License-Identifier: MIT
// Taking each call register field from its word and position, as the field catalogue lists them:
// one walk over the catalogue, over the words as views (TextLayout). Bit characters are made only
// where a field takes them, unless the words came with their bit strings.

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "decoder/bits.h"
#include "decoder/byte_scan.h"
#include "decoder/code_name.h"
#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/record_view.h"
#include "decoder/text_layout.h"
#include "decoder/utf8.h"

namespace quillmark {

namespace {

static_assert(IsPlainText(kTnHint) && IsPlainText("H.") && IsPlainText(kNotHexBits));

// The one row that reads a run of words, and the character positions its cut reads in each
// word, in the order it reads them (within a digit word the last hexadecimal digit comes first).
// Both are fixed when compiling, so the loop over a word's digits unrolls as a hand-written one
// would: taken from the row at run time it cost a fifth more instructions per dump.
constexpr const FieldRow& kRunRow = *std::find_if(kFields.begin(), kFields.end(), ReadsRun);
static_assert(std::count_if(kFields.begin(), kFields.end(), ReadsRun) == 1,
              "DialedDigits reads the one row that reads a run of words");
constexpr auto kRunPositions = [] {
    constexpr Cut cut = kRunRow.cut;
    std::array<std::size_t, cut.length> positions{};
    for (std::size_t i = 0; i < cut.length; ++i)
        positions[i] = cut.lastFirst ? cut.start + cut.length - 1 - i : cut.start + i;
    return positions;
}();

// A zero nibble is an empty digit slot and "A" stands for the digit 0; anything else is shown
// as it stands. Writes the digits into `buffer` and returns them.
std::string_view DialedDigits(const TextLayout& words, DigitBuffer& buffer) {
    char* next = buffer.data();
    const auto put = [&next](char digit) {
        *next = digit == 'A' ? '0' : digit;
        next += digit != '0';
    };
    constexpr std::size_t lowest = kRunRow.cut.start;
    constexpr std::size_t highest = kRunRow.cut.start + kRunRow.cut.length - 1;
    for (int k = kRunRow.word; k <= kRunRow.lastWord; ++k) {
        const std::string_view word = words[k];
        // A word of fewer bytes than the lowest position has fewer characters too.
        if (word.size() < lowest) continue;
        // Where the bytes up to the highest position are ASCII, character n is byte n.
        const std::size_t reach = std::min(word.size(), highest);
        if (bytes::IsAscii(word.substr(0, reach))) {
            for (std::size_t position : kRunPositions)
                put(position <= reach ? word[position - 1] : '0');
            continue;
        }
        for (std::size_t position : kRunPositions) {
            const std::string_view digit = CutView(word, Mid(position, 1));
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

// Puts the pieces of a shown text in place, each stored where it stays: a text built whole
// and then copied is stored in halves and read back at once, which stalls the processor.
[[gnu::always_inline]] inline void Show(TextParts& out, std::string_view first,
                                        std::string_view second = {}, std::string_view third = {}) {
    out.parts[0] = first;
    out.parts[1] = second;
    out.parts[2] = third;
}

// The shown text of a cut, as views of the cut, of the name tables, and of `value` (a
// pointer's value), put in `out`. The aux PM is named under the main PM code.
[[gnu::always_inline]] inline void ShowCut(TextParts& out, Shown how, std::string_view cut,
                                           std::string_view mainPmCode,
                                           std::array<char, 16>& value) {
    switch (how) {
        case Shown::AsTyped: return Show(out, cut);
        case Shown::MainPmName: return Show(out, MainPMName(cut));            // "UNDEFINED"
        case Shown::AuxPmName: return Show(out, AuxPMName(mainPmCode, cut));  // "UNKNOWN" / ""
        case Shown::UnitTypeName: return Show(out, UnitTypeName(cut));        // "UNKNOWN"
        case Shown::QueueName: return Show(out, QueueName(cut));              // "UNKNOWN"
        case Shown::TnHint: return Show(out, kTnHint, cut);
        case Shown::Pointer: {
            // The five bit characters stay as they are behind "H.", followed by their value.
            constexpr std::string_view kOpen = " (DEC: ";
            char* next = std::copy(kOpen.begin(), kOpen.end(), value.data());
            next = std::to_chars(next, value.data() + value.size() - 1, BinVal(cut)).ptr;
            *next++ = ')';
            return Show(
                out, "H.", cut,
                std::string_view(value.data(), static_cast<std::size_t>(next - value.data())));
        }
        case Shown::DialedDigits: return Show(out, {});  // a run of words, not one cut
    }
}

// ---- Cuts from views of valid UTF-8 text: a cut is then a part of the text itself ----------

// Start of the character `count` characters on from `pos`, or the end of the text.
std::size_t SkipChars(std::string_view valid, std::size_t pos, std::size_t count) {
    for (; count > 0 && pos < valid.size(); --count) pos += utf8::CharSize(valid.substr(pos));
    return pos;
}

std::string_view MidView(std::string_view valid, std::size_t start, std::size_t length) {
    const std::size_t reach = std::min(start - 1 + length, valid.size());
    if (bytes::IsAscii(valid.substr(0, reach)))
        return valid.substr(std::min(start - 1, valid.size()), length);
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

std::string_view CutValid(std::string_view valid, Cut cut) {
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
constexpr std::size_t BitReach(Cut cut) {
    return cut.take == Take::Mid ? cut.start - 1 + cut.length : cut.length;
}
constexpr bool BitCutsReachOnlyAWord() {
    for (const FieldRow& row : kFields)
        if (row.from == From::Bits &&
            (row.cut.take == Take::WholeWord || BitReach(row.cut) > kBitCharsOfAWord))
            return false;
    return true;
}
static_assert(BitCutsReachOnlyAWord(), "a bit cut needs the bits of more than eight characters");

std::string_view BitCut(std::string_view word, Cut cut, BitBuffer& buffer) {
    const std::size_t chars = (BitReach(cut) + 3) / 4;
    // Where those characters are all hexadecimal digits (the usual dump), each gives its four
    // bit characters. A byte that is a digit is a whole character, so the bytes are the
    // characters.
    const std::string_view digits = cut.take == Take::Mid
                                        ? word.substr(0, chars)
                                        : word.substr(word.size() - std::min(chars, word.size()));
    if (bytes::IsUpperHex(digits)) {
        const std::size_t bitCount = 4 * digits.size();
        const std::size_t from = cut.take == Take::Mid ? std::min(cut.start - 1, bitCount)
                                                       : bitCount - std::min(cut.length, bitCount);
        const std::size_t to = std::min(from + cut.length, bitCount);
        bytes::HexDigitBits(digits, from, to, buffer.data());
        return {buffer.data(), to - from};
    }
    const std::string_view part =
        cut.take == Take::Mid ? MidView(word, 1, chars) : RightView(word, chars);
    std::size_t size = 0;
    for (std::size_t pos = 0; pos < part.size();) {
        const std::size_t charSize = utf8::CharSize(part.substr(pos));
        const std::string_view bits = charSize == 1 ? BitsOfByte(part[pos]) : kNotHexBits;
        std::copy(bits.begin(), bits.end(), buffer.begin() + static_cast<std::ptrdiff_t>(size));
        size += bits.size();
        pos += charSize;
    }
    return CutValid(std::string_view(buffer.data(), size), cut);
}

// ---- Words of eight upper-case hexadecimal digits: every cut a fixed part of its word -------

constexpr std::size_t kDigitsOfAWord = 8;

// Where a cut of a row stands in a word of eight digits, or in its 32 bit characters: 0-based.
constexpr std::size_t CutFrom(const FieldRow& row) { return StartInWord(row) - 1; }

// The value of `Count` digits of a word of eight upper-case digits, from digit `First` on.
template <std::size_t First, std::size_t Count>
[[gnu::always_inline]] inline std::uint32_t DigitsValue(std::string_view word) {
    std::uint32_t value = 0;
    for (std::size_t i = First; i < First + Count; ++i)
        value = 16 * value + static_cast<std::uint32_t>(bytes::HexValue(word[i]));
    return value;
}

// The value a row's cut reads from a word of eight digits: its digits as a number, or its bit
// characters read as a binary number.
template <std::size_t I>
[[gnu::always_inline]] inline std::uint32_t CutValue(std::string_view word) {
    constexpr const FieldRow& kRow = kFields[I];
    constexpr std::size_t from = CutFrom(kRow);
    constexpr std::size_t length = kRow.cut.length;
    if constexpr (kRow.from == From::Word) {
        return DigitsValue<from, length>(word);
    } else {
        // The digits the bits reach, then the bits themselves.
        constexpr std::size_t first = from / 4;
        constexpr std::size_t last = (from + length - 1) / 4;
        constexpr std::size_t shift = 4 * (last + 1) - (from + length);
        return (DigitsValue<first, last - first + 1>(word) >> shift) & ((1U << length) - 1);
    }
}

// The bit characters of every number below 2^Width, each Width characters, one after another.
template <std::size_t Width>
constexpr auto kBitTexts = [] {
    std::array<char, (std::size_t{1} << Width) * Width> texts{};
    for (std::size_t value = 0; value < (std::size_t{1} << Width); ++value)
        for (std::size_t bit = 0; bit < Width; ++bit)
            texts[value * Width + bit] = (value >> (Width - 1 - bit)) & 1 ? '1' : '0';
    return texts;
}();
template <std::size_t Width>
std::string_view BitText(std::uint32_t value) {
    return {kBitTexts<Width>.data() + value * Width, Width};
}

// A pointer of five bit characters as ShowCut shows it, for every value: "H.00101 (DEC: 5)".
constexpr std::size_t kPointerBits = 5;
struct PointerText {
    std::array<char, 20> text{};
    std::size_t size = 0;
};
constexpr auto kPointerTexts = [] {
    std::array<PointerText, std::size_t{1} << kPointerBits> texts{};
    for (std::size_t value = 0; value < texts.size(); ++value) {
        PointerText& t = texts[value];
        const auto put = [&t](std::string_view part) {
            for (char c : part) t.text[t.size++] = c;
        };
        put("H.");
        for (std::size_t bit = 0; bit < kPointerBits; ++bit)
            t.text[t.size++] = (value >> (kPointerBits - 1 - bit)) & 1 ? '1' : '0';
        put(" (DEC: ");
        if (value >= 10) t.text[t.size++] = static_cast<char>('0' + value / 10);
        t.text[t.size++] = static_cast<char>('0' + value % 10);
        put(")");
    }
    return texts;
}();

// What CutValid and BitCut give for a word of eight upper-case digits, or an empty one.
[[gnu::always_inline]] inline std::string_view CutOfEightDigits(std::string_view word,
                                                                const FieldRow& row,
                                                                BitBuffer& bits) {
    if (word.empty()) return {};
    const Cut cut = row.cut;
    if (row.from == From::Word) {
        switch (cut.take) {
            case Take::WholeWord: return word;
            case Take::Mid: return word.substr(cut.start - 1, cut.length);
            case Take::Right: return word.substr(kDigitsOfAWord - cut.length);
        }
        return {};
    }
    // A bit cut: the digits it reaches give four bit characters each.
    const std::size_t from = cut.take == Take::Mid ? cut.start - 1 : kBitCharsOfAWord - cut.length;
    bytes::HexDigitBits(word, from, from + cut.length, bits.data());
    return {bits.data(), cut.length};
}

// Whether a row is read from a word of eight digits as a value: a name looked up by value, a
// pointer from its table, a bit cut from the table of bit characters.
constexpr bool ReadAsValue(const FieldRow& row) {
    if (row.cut.take == Take::WholeWord || ReadsRun(row)) return false;
    if (row.from == From::Bits && row.cut.length > 8) return false;
    // A name is looked up by value where the code has the form of its table's codes.
    switch (row.shown) {
        case Shown::MainPmName:
        case Shown::AuxPmName:
        case Shown::QueueName: return row.from == From::Word && row.cut.length == 2;
        case Shown::UnitTypeName: return row.from == From::Bits && row.cut.length == 5;
        case Shown::Pointer: return row.from == From::Bits && row.cut.length == kPointerBits;
        case Shown::AsTyped:
        case Shown::TnHint: return row.from == From::Bits;
        case Shown::DialedDigits: return false;
    }
    return false;
}

// The dialed digits of words of eight digits. A digit word's four cut characters, last first,
// are taken in one piece where none of them is "0" (an empty slot), as in most words.
std::string_view DialedEightDigits(const TextLayout& words, DigitBuffer& buffer) {
    char* next = buffer.data();
    constexpr Cut cut = kRunRow.cut;
    constexpr bool kFourLastFirst =
        cut.length == 4 && cut.lastFirst && std::endian::native == std::endian::little;
    // Every word up to the layout's last is there, and none after it.
    const int last = std::min(kRunRow.lastWord, words.WordCount());
    for (int k = kRunRow.word; k <= last; ++k) {
        const std::string_view word = words[k];
        if constexpr (kFourLastFirst) {
            // The last character first: stored to memory, the lowest byte comes first.
            const auto* const digits =
                reinterpret_cast<const unsigned char*>(word.data()) + cut.start - 1;
            std::uint32_t four = digits[3] | digits[2] << 8 | digits[1] << 16 |
                                 static_cast<std::uint32_t>(digits[0]) << 24;
            // A byte of 0x80 where the byte was the digit. The short test for a zero byte marks
            // a byte wrongly only above a marked one that reads as 0x01: whether any is marked
            // holds, and for "A" every mark does, as no byte is the one before it ("@").
            const auto bytesOf = [four](std::uint32_t digit) {
                const std::uint32_t x = four ^ (digit * 0x01010101U);
                return (x - 0x01010101U) & ~x & 0x80808080U;
            };
            if (bytesOf('0') == 0) {
                // "A" stands for the digit 0.
                four ^= (bytesOf('A') >> 7) * static_cast<std::uint32_t>('A' ^ '0');
                std::memcpy(next, &four, sizeof four);
                next += sizeof four;
                continue;
            }
        }
        for (std::size_t position : kRunPositions) {
            const char digit = word[position - 1];
            *next = digit == 'A' ? '0' : digit;
            next += digit != '0';
        }
    }
    return {buffer.data(), static_cast<std::size_t>(next - buffer.data())};
}

// Row by row as RecordView::DecodeWords does, each row's cut and way of showing fixed when
// compiling; a function of its own, so that the loop for any other text stays as compact.
// Codes are read as numbers where a row allows, and shown from tables: names by value, bit
// characters and pointer texts made when compiling.
// Returns whether the pointers differ.
[[gnu::noinline]] bool DecodeEightDigitWords(const TextLayout& words, FieldScratch& scratch,
                                             std::array<TextParts, kFieldCount>& shown,
                                             std::array<std::string_view, kFieldCount>& codes) {
    // The pointers read as values, as far as they were: equal values give equal texts.
    std::array<std::uint32_t, kPointerFields.size()> pointers{};
    std::size_t pointersRead = 0;
    std::string_view mainPmCode;
    bool mainPmByValue = false;
    std::uint8_t mainPmValue = 0;
    const auto row = [&]<std::size_t I>(std::integral_constant<std::size_t, I>) {
        constexpr const FieldRow& kRow = kFields[I];
        TextParts& out = shown[I];
        if constexpr (ReadsRun(kRow)) {
            Show(out, DialedEightDigits(words, scratch.digits));
            codes[I] = {};
            return;
        }
        const std::string_view word = words[kRow.word];
        if (!word.empty()) {
            if constexpr (ReadAsValue(kRow)) {
                const std::uint32_t value = CutValue<I>(word);
                const std::string_view cut = kRow.from == From::Bits
                                                 ? BitText<kRow.cut.length>(value)
                                                 : word.substr(CutFrom(kRow), kRow.cut.length);
                const auto byte = static_cast<std::uint8_t>(value);
                if constexpr (kRow.shown == Shown::MainPmName) {
                    mainPmCode = cut;
                    mainPmByValue = true;
                    mainPmValue = byte;
                    Show(out, MainPMNameAt(byte));
                } else if constexpr (kRow.shown == Shown::AuxPmName) {
                    Show(out, mainPmByValue ? AuxPMNameAt(mainPmValue, byte)
                                            : AuxPMName(mainPmCode, cut));
                } else if constexpr (kRow.shown == Shown::UnitTypeName) {
                    Show(out, UnitTypeNameAt(byte));
                } else if constexpr (kRow.shown == Shown::QueueName) {
                    Show(out, QueueNameAt(byte));
                } else if constexpr (kRow.shown == Shown::Pointer) {
                    Show(out, {kPointerTexts[value].text.data(), kPointerTexts[value].size});
                    pointers[pointersRead++] = value;
                } else if constexpr (kRow.shown == Shown::TnHint) {
                    Show(out, kTnHint, cut);
                } else {
                    Show(out, cut);
                }
                codes[I] = HasCode(kRow) ? cut : std::string_view();
                return;
            } else if constexpr (kRow.from == From::Word &&
                                 (kRow.shown == Shown::AsTyped || kRow.shown == Shown::TnHint)) {
                const std::string_view cut = CutOfEightDigits(word, kRow, scratch.bits[I]);
                if constexpr (kRow.shown == Shown::TnHint) {
                    Show(out, kTnHint, cut);
                } else {
                    Show(out, cut);
                }
                codes[I] = HasCode(kRow) ? cut : std::string_view();
                return;
            }
        }
        const std::string_view cut = CutOfEightDigits(word, kRow, scratch.bits[I]);
        if constexpr (kRow.shown == Shown::MainPmName) mainPmCode = cut;
        ShowCut(out, kRow.shown, cut, mainPmCode, scratch.values[I]);
        codes[I] = HasCode(kRow) ? cut : std::string_view();
    };
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (row(std::integral_constant<std::size_t, I>()), ...);
    }(std::make_index_sequence<kFieldCount>());
    if (pointersRead == pointers.size()) return pointers[0] != pointers[1];
    return !SameText(shown[IndexOf(kPointerFields[0])], shown[IndexOf(kPointerFields[1])]);
}

// The characters a row takes from its word or bit string (made in `bits` where it must be).
std::string_view CutOfRow(const TextLayout& words, const FieldRow& row, BitBuffer& bits) {
    const std::string_view word = words[row.word];
    if (row.from == From::Word) return CutValid(word, row.cut);
    return words.HasBits() ? CutValid(words.Bits(row.word), row.cut) : BitCut(word, row.cut, bits);
}

}  // namespace

std::string_view CutView(std::string_view valid, Cut cut) { return CutValid(valid, cut); }

std::string CutOf(std::string_view text, Cut cut) {
    const std::string valid = utf8::Sanitized(text);  // arrays filled by hand may hold any bytes
    return std::string(CutValid(valid, cut));
}

DecodedFields DecodeCallRegister(const DataWords& words) {
    RecordView record;
    record.Decode(words);
    DecodedFields fields;
    record.CopyTo(fields);
    return fields;
}

DecodedFields DecodeText(std::string_view text) {
    RecordView record;
    record.Decode(text);
    DecodedFields fields;
    record.CopyTo(fields);
    return fields;
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
    own_.Read(text);
    Decode(own_);
}

void RecordView::Decode(const DataWords& words) {
    own_.Take(words);
    Decode(own_);
}

void RecordView::Decode(const TextLayout& layout) {
    layout_ = &layout;
    message_ = layout.Text();
    fromText_ = !layout.HasBits();
    DecodeWords();
}

void RecordView::DecodeWords() {
    const TextLayout& words = *layout_;
    std::string_view mainPmCode;
    if (words.EightDigitWords()) {
        pointersDiffer_ = DecodeEightDigitWords(words, scratch_, shown_, codes_);
        return;
    }
    for (const FieldRow& row : kFields) {
        const std::size_t slot = IndexOf(row.field);
        if (ReadsRun(row)) {
            Show(shown_[slot], DialedDigits(words, scratch_.digits));
            codes_[slot] = {};
            continue;
        }
        const std::string_view cut = CutOfRow(words, row, scratch_.bits[slot]);
        if (row.shown == Shown::MainPmName) mainPmCode = cut;
        ShowCut(shown_[slot], row.shown, cut, mainPmCode, scratch_.values[slot]);
        codes_[slot] = HasCode(row) ? cut : std::string_view();
    }
    pointersDiffer_ =
        !SameText(shown_[IndexOf(kPointerFields[0])], shown_[IndexOf(kPointerFields[1])]);
}

void RecordView::CopyTo(DecodedFields& fields) const {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        shown_[i].AssignTo(fields.texts[i]);
        fields.codes[i].assign(codes_[i]);
    }
    fields.PointersDiffer = pointersDiffer_;
}

}  // namespace quillmark
