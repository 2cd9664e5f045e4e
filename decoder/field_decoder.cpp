// SPDX-License-Identifier: MIT
// Taking each call register field from its word and position.

#include <algorithm>
#include <array>

#include "decoder/decoder.h"
#include "decoder/utf8.h"

namespace quillmark {

namespace {

constexpr std::string_view kTnHint = "Use LD 32 to Convert TN H.";

enum class From { Word, Bits };  // the word as typed, or its bit string

// A cut of a word: MidText(start, length), RightText(length) when start is 0, or the whole word.
struct Cut {
    std::size_t start = 0;
    std::size_t length = 0;
    bool whole = false;
};
constexpr Cut Whole() { return {0, 0, true}; }
constexpr Cut Mid(std::size_t start, std::size_t length) { return {start, length, false}; }
constexpr Cut Right(std::size_t length) { return {0, length, false}; }

// How a cut becomes the shown text; `codes` holds the codes cut so far (the aux PM reads the
// main PM code).
using Render = std::string (*)(const std::string& cut, const FieldCodes& codes);

std::string AsTyped(const std::string& cut, const FieldCodes&) { return cut; }
std::string MainPm(const std::string& code, const FieldCodes&) {
    return std::string(MainPMName(code));  // fallback "UNDEFINED"
}
std::string AuxPm(const std::string& code, const FieldCodes& codes) {
    return std::string(AuxPMName(codes.MainPM, code));  // fallback "UNKNOWN", or "" without table
}
std::string UnitType(const std::string& code, const FieldCodes&) {
    return std::string(UnitTypeName(code));  // fallback "UNKNOWN"
}
std::string Queue(const std::string& code, const FieldCodes&) {
    return std::string(QueueName(code));  // fallback "UNKNOWN"
}
std::string Tn(const std::string& tn, const FieldCodes&) { return std::string(kTnHint) + tn; }
// The five bit characters stay as they are behind "H.", followed by their value.
std::string Pointer(const std::string& bits, const FieldCodes&) {
    return "H." + bits + " (DEC: " + std::to_string(BinVal(bits)) + ")";
}

struct FieldRow {
    std::string DecodedFields::*field;
    int word;
    From from;
    Cut cut;
    std::string FieldCodes::*code;  // where the raw code is kept, if it is a looked-up code
    Render render;
};

// Word 3, bit-string characters (bit 31 is character 1):
//   1...............19 20..24 25..29 30..32
//                      term   orig
// Word 12:  ...22 23..27 28..32
//                 unload load
// Rows run in the order the fields are decoded; word 10 is not decoded, words 13 to 30 carry
// the dialed digits (DigsDialed below).
const std::array<FieldRow, 14> kLayout{{
    // field                        word  from        cut          raw code              shown as
    {&DecodedFields::CallRegister,  1,    From::Word, Whole(),     nullptr,              AsTyped},
    {&DecodedFields::MainPM,        2,    From::Word, Mid(5, 2),   &FieldCodes::MainPM,  MainPm},
    {&DecodedFields::AuxPM,         2,    From::Word, Mid(7, 2),   &FieldCodes::AuxPM,   AuxPm},
    {&DecodedFields::TermType,      3,    From::Bits, Mid(20, 5),  &FieldCodes::TermType, UnitType},
    {&DecodedFields::OrigType,      3,    From::Bits, Mid(25, 5),  &FieldCodes::OrigType, UnitType},
    {&DecodedFields::OrigTN,        4,    From::Word, Right(4),    nullptr,              Tn},
    {&DecodedFields::TermTN,        5,    From::Word, Right(4),    nullptr,              Tn},
    {&DecodedFields::Queue,         6,    From::Word, Right(2),    &FieldCodes::Queue,   Queue},
    {&DecodedFields::CRLink,        7,    From::Word, Whole(),     nullptr,              AsTyped},
    {&DecodedFields::CRBakLink,     8,    From::Word, Whole(),     nullptr,              AsTyped},
    {&DecodedFields::AuxCR,         9,    From::Word, Whole(),     nullptr,              AsTyped},
    {&DecodedFields::CRDialed,      11,   From::Word, Whole(),     nullptr,              AsTyped},
    {&DecodedFields::DigitLoad,     12,   From::Bits, Right(5),    nullptr,              Pointer},
    {&DecodedFields::DigitUnload,   12,   From::Bits, Mid(23, 5),  nullptr,              Pointer},
}};

constexpr int kFirstDigitWord = 13;
// Within a digit word the last hexadecimal digit comes first.
constexpr std::array<std::size_t, 4> kDigitPositions{8, 7, 6, 5};

std::string CutOf(const std::string& text, Cut cut) {
    if (cut.whole) return utf8::Sanitized(text);  // arrays filled by hand may hold any bytes
    if (cut.start == 0) return RightText(text, cut.length);
    return MidText(text, cut.start, cut.length);
}

// A zero nibble is an empty digit slot and "A" stands for the digit 0; anything else is shown
// as it stands.
std::string DialedDigits(const DataWords& words) {
    std::string digits;
    for (int k = kFirstDigitWord; k <= kLastWord; ++k) {
        const std::string& word = words.HexWords[static_cast<std::size_t>(k)];
        // Where the first eight bytes are ASCII, character n is byte n: index directly.
        const std::string_view head = std::string_view(word).substr(0, kDigitPositions.front());
        const bool ascii = std::all_of(head.begin(), head.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        for (std::size_t position : kDigitPositions) {
            const std::string digit = ascii ? std::string(head.substr(std::min(position - 1, head.size()), 1))
                                            : MidText(word, position, 1);
            if (digit.empty() || digit == "0") continue;
            digits += digit == "A" ? std::string("0") : digit;
        }
    }
    return digits;
}

}  // namespace

DecodedFields DecodeCallRegister(const DataWords& words) {
    DecodedFields fields;
    for (const FieldRow& row : kLayout) {
        const std::size_t word = static_cast<std::size_t>(row.word);
        const std::string& source = row.from == From::Word ? words.HexWords[word] : words.BinWords[word];
        const std::string cut = CutOf(source, row.cut);
        if (row.code != nullptr) fields.Codes.*row.code = cut;
        fields.*row.field = row.render(cut, fields.Codes);
    }
    fields.PointersDiffer = fields.DigitLoad != fields.DigitUnload;
    fields.DigsDialed = DialedDigits(words);
    return fields;
}

DecodedFields DecodeText(std::string_view text) {
    DataWords words;
    ReadDataWords(text, words);
    return DecodeCallRegister(words);
}

}  // namespace quillmark
