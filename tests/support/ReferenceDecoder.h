// SPDX-License-Identifier: MIT
#pragma once
// The call register decoded the plain way, character by character, from a table of positions
// of its own: slow, and obviously what the window shows. It shares nothing with the product's
// cuts (no field catalogue rows, no MidText or RightText), only the Field names that index a
// record, UTF-8 repair and the name lookups, so that a changed cut in the product fails here.

#include <string>
#include <string_view>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/utf8.h"

namespace quillmark::reference {

// The characters of a text, one string each; broken UTF-8 as U+FFFD.
inline std::vector<std::string> Characters(std::string_view text) {
    std::vector<std::string> chars;
    for (unsigned char byte : utf8::Sanitized(text)) {
        if (chars.empty() || !utf8::IsContinuation(byte)) chars.emplace_back();
        chars.back() += static_cast<char>(byte);
    }
    return chars;
}

// Four bit characters for a hexadecimal digit "0".."9", "A".."F", else "ERROR".
inline std::string Bits(const std::string& character) {
    const std::string digits = "0123456789ABCDEF";
    const std::size_t value = character.size() == 1 ? digits.find(character[0]) : digits.npos;
    if (value == digits.npos) return "ERROR";
    std::string bits;
    for (int bit = 3; bit >= 0; --bit) bits += (value >> bit) & 1 ? '1' : '0';
    return bits;
}

// Words 1..30: every space ends a word, CR and LF are dropped, every other character belongs
// to its word (a broken one as U+FFFD) and adds its bits to the word's bit string.
inline DataWords ReadWords(std::string_view text) {
    DataWords words;
    std::size_t word = 1;
    for (const std::string& c : Characters(text)) {
        if (c == " " && ++word > 30) break;
        if (c == " " || c == "\r" || c == "\n") continue;
        words.HexWords[word] += c;
        words.BinWords[word] += Bits(c);
    }
    return words;
}

// Where each field stands in the dump: its word, whether in the word as typed or in its bit
// string, and which characters (1-based; `count` 0 takes the whole word, `fromEnd` the last
// `count` characters).
struct Position {
    Field field;
    int word;
    bool bits;
    std::size_t first;
    std::size_t count;
    bool fromEnd;
};
// clang-format off
inline const std::vector<Position> kPositions{
    {Field::CallRegister, 1,  false, 1,  0, false},
    {Field::MainPM,       2,  false, 5,  2, false},
    {Field::AuxPM,        2,  false, 7,  2, false},
    {Field::OrigType,     3,  true,  25, 5, false},
    {Field::TermType,     3,  true,  20, 5, false},
    {Field::OrigTN,       4,  false, 0,  4, true},
    {Field::TermTN,       5,  false, 0,  4, true},
    {Field::Queue,        6,  false, 0,  2, true},
    {Field::CRLink,       7,  false, 1,  0, false},
    {Field::CRBakLink,    8,  false, 1,  0, false},
    {Field::AuxCR,        9,  false, 1,  0, false},
    {Field::CRDialed,     11, false, 1,  0, false},
    {Field::DigitLoad,    12, true,  0,  5, true},
    {Field::DigitUnload,  12, true,  23, 5, false},
};
// clang-format on

inline std::string Take(const std::string& text, const Position& at) {
    const std::vector<std::string> chars = Characters(text);
    std::size_t first = at.first - 1;
    std::size_t count = at.count == 0 ? chars.size() : at.count;
    if (at.fromEnd) first = chars.size() > count ? chars.size() - count : 0;
    std::string taken;
    for (std::size_t i = first; i < chars.size() && i < first + count; ++i) taken += chars[i];
    return taken;
}

// The first five bit characters read with the weights 16, 8, 4, 2, 1.
inline int Value(const std::string& bits) {
    int value = 0;
    for (std::size_t i = 0; i < 5; ++i) value = value * 2 + (i < bits.size() && bits[i] == '1');
    return value;
}

inline DecodedFields Decode(const DataWords& words) {
    DecodedFields fields;
    std::string mainPmCode;
    for (const Position& at : kPositions) {
        const auto slot = static_cast<std::size_t>(at.word);
        const std::string cut = Take(at.bits ? words.BinWords[slot] : words.HexWords[slot], at);
        std::string& shown = fields[at.field];
        std::string& code = fields.codes[IndexOf(at.field)];
        switch (at.field) {
            case Field::MainPM:
                shown = MainPMName(cut);
                code = mainPmCode = cut;
                break;
            case Field::AuxPM:
                shown = AuxPMName(mainPmCode, cut);
                code = cut;
                break;
            case Field::OrigType:
            case Field::TermType:
                shown = UnitTypeName(cut);
                code = cut;
                break;
            case Field::Queue:
                shown = QueueName(cut);
                code = cut;
                break;
            case Field::OrigTN:
            case Field::TermTN: shown = "Use LD 32 to Convert TN H." + cut; break;
            case Field::DigitLoad:
            case Field::DigitUnload:
                shown = "H." + cut + " (DEC: " + std::to_string(Value(cut)) + ")";
                break;
            default: shown = cut;
        }
    }
    // Digits Dialed: characters 8, 7, 6, 5 of words 13 to 30; "0" is no digit, "A" the digit 0.
    for (std::size_t k = 13; k <= 30; ++k) {
        const std::vector<std::string> chars = Characters(words.HexWords[k]);
        for (std::size_t position = 8; position >= 5; --position) {
            if (position > chars.size() || chars[position - 1] == "0") continue;
            fields[Field::DigsDialed] += chars[position - 1] == "A" ? "0" : chars[position - 1];
        }
    }
    fields.PointersDiffer = fields[Field::DigitLoad] != fields[Field::DigitUnload];
    return fields;
}

}  // namespace quillmark::reference
