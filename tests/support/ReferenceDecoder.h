// SPDX-License-Identifier: MIT
#pragma once
// The call register decoded the plain way, character by character, with the text tools
// (MidText, RightText, Binary, BinVal) and the name lookups: slow, and obviously what the window
// shows. The product's one decoding path (WordViews and RecordView) is held to it.

#include <string>
#include <string_view>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"

namespace quillmark::reference {

// Words 1..30: every space ends a word, CR and LF are dropped, every other character belongs
// to its word (a broken one as U+FFFD); each character adds Binary() of itself to the bit string.
inline DataWords ReadWords(std::string_view text) {
    DataWords words;
    int word = 1;
    for (std::size_t pos = 0; pos < text.size();) {
        const char c = text[pos];
        if (c == ' ') {
            if (++word > kLastWord) break;
            ++pos;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++pos;
            continue;
        }
        const std::string_view rest = text.substr(pos);
        const utf8::Scan scan = utf8::ScanChar(rest);
        const std::string character = scan.status == utf8::Status::Valid
                                          ? std::string(rest.substr(0, scan.size))
                                          : std::string(utf8::kReplacement);
        words.HexWords[static_cast<std::size_t>(word)] += character;
        words.BinWords[static_cast<std::size_t>(word)] += Binary(character);
        pos += scan.size;
    }
    return words;
}

inline std::string CutText(const std::string& text, Cut cut) {
    switch (cut.take) {
        case Take::WholeWord: return utf8::Sanitized(text);
        case Take::Mid: return MidText(text, cut.start, cut.length);
        case Take::Right: return RightText(text, cut.length);
    }
    return {};
}

inline DecodedFields Decode(const DataWords& words) {
    DecodedFields fields;
    std::string mainPmCode;
    for (const FieldRow& row : kFields) {
        std::string& shown = fields[row.field];
        if (row.shown == Shown::DialedDigits) {
            // Characters 8, 7, 6, 5 of each word: "0" is no digit, "A" is the digit 0.
            for (int k = row.word; k <= row.lastWord; ++k) {
                for (std::size_t position = 8; position >= 5; --position) {
                    const std::string digit =
                        MidText(words.HexWords[static_cast<std::size_t>(k)], position, 1);
                    if (digit != "0") shown += digit == "A" ? "0" : digit;
                }
            }
            continue;
        }
        const auto slot = static_cast<std::size_t>(row.word);
        const std::string cut =
            CutText(row.from == From::Word ? words.HexWords[slot] : words.BinWords[slot], row.cut);
        switch (row.shown) {
            case Shown::AsTyped: shown = cut; break;
            case Shown::MainPmName:
                shown = MainPMName(cut);
                mainPmCode = cut;
                break;
            case Shown::AuxPmName: shown = AuxPMName(mainPmCode, cut); break;
            case Shown::UnitTypeName: shown = UnitTypeName(cut); break;
            case Shown::QueueName: shown = QueueName(cut); break;
            case Shown::TnHint: shown = "Use LD 32 to Convert TN H." + cut; break;
            case Shown::Pointer:
                shown = "H." + cut + " (DEC: " + std::to_string(BinVal(cut)) + ")";
                break;
            case Shown::DialedDigits: break;
        }
        if (HasCode(row)) fields.codes[IndexOf(row.field)] = cut;
    }
    fields.PointersDiffer = fields[Field::DigitLoad] != fields[Field::DigitUnload];
    return fields;
}

}  // namespace quillmark::reference
