// SPDX-License-Identifier: MIT
// Taking each call register field from its word and position, as the field catalogue lists them.

#include <algorithm>
#include <array>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"

namespace quillmark {

namespace {

constexpr std::string_view kTnHint = "Use LD 32 to Convert TN H.";

// Within a digit word the last hexadecimal digit comes first.
constexpr std::array<std::size_t, 4> kDigitPositions{8, 7, 6, 5};

// A zero nibble is an empty digit slot and "A" stands for the digit 0; anything else is shown
// as it stands.
std::string DialedDigits(const DataWords& words, const FieldRow& row) {
    std::string digits;
    for (int k = row.word; k <= row.lastWord; ++k) {
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

// The shown text of a cut; `codes` holds the codes cut so far (the aux PM reads the main PM's).
std::string Render(Shown shown, const std::string& cut, const FieldCodes& codes) {
    switch (shown) {
        case Shown::AsTyped: return cut;
        case Shown::MainPmName: return std::string(MainPMName(cut));               // "UNDEFINED"
        case Shown::AuxPmName: return std::string(AuxPMName(codes.MainPM, cut));   // "UNKNOWN" / ""
        case Shown::UnitTypeName: return std::string(UnitTypeName(cut));           // "UNKNOWN"
        case Shown::QueueName: return std::string(QueueName(cut));                 // "UNKNOWN"
        case Shown::TnHint: return std::string(kTnHint) + cut;
        // The five bit characters stay as they are behind "H.", followed by their value.
        case Shown::Pointer: return "H." + cut + " (DEC: " + std::to_string(BinVal(cut)) + ")";
        case Shown::DialedDigits: break;  // a run of words, not one cut
    }
    return {};
}

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
    for (const FieldRow& row : kFields) {
        if (row.shown == Shown::DialedDigits) {
            fields.*row.member = DialedDigits(words, row);
            continue;
        }
        const std::size_t word = static_cast<std::size_t>(row.word);
        const std::string& source = row.from == From::Word ? words.HexWords[word] : words.BinWords[word];
        const std::string cut = CutOf(source, row.cut);
        if (row.code != nullptr) fields.Codes.*row.code = cut;
        fields.*row.member = Render(row.shown, cut, fields.Codes);
    }
    fields.PointersDiffer = fields.DigitLoad != fields.DigitUnload;
    return fields;
}

DecodedFields DecodeText(std::string_view text) {
    DataWords words;
    ReadDataWords(text, words);
    return DecodeCallRegister(words);
}

}  // namespace quillmark
