// SPDX-License-Identifier: MIT
#pragma once
// The fifteen call register fields, one row each: how a field is called, where its result goes,
// and which word and characters it is cut from. The decoder, the result captions, the report,
// the JSON keys, the window's result rows and the provenance all walk this one table, so a
// field is added or moved here and nowhere else.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "decoder/decoder.h"

namespace quillmark {

// The results in result label order: the order of the labels, the captions and the report.
enum class Field : std::uint8_t {
    CallRegister, MainPM, AuxPM, OrigType, TermType, OrigTN, TermTN, Queue,
    CRLink, CRBakLink, AuxCR, CRDialed, DigitLoad, DigitUnload, DigsDialed,
};
inline constexpr std::size_t kFieldCount = 15;

constexpr std::size_t IndexOf(Field field) { return static_cast<std::size_t>(field); }

// A field is cut from the word as typed, or from its bit string.
enum class From : std::uint8_t { Word, Bits };

// Which characters of the word (or bit string) a field takes: the whole text, the characters
// from `start` on (MidText, 1-based), or the last `length` characters (RightText).
enum class Take : std::uint8_t { WholeWord, Mid, Right };
struct Cut {
    Take take;
    std::size_t start;   // 1-based; 0 for WholeWord and Right
    std::size_t length;  // at most this many characters; 0 for WholeWord
};
constexpr Cut WholeWord() { return {Take::WholeWord, 0, 0}; }
constexpr Cut Mid(std::size_t start, std::size_t length) { return {Take::Mid, start, length}; }
constexpr Cut Right(std::size_t length) { return {Take::Right, 0, length}; }

// How the cut characters become the shown text.
enum class Shown : std::uint8_t {
    AsTyped,       // the characters unchanged
    MainPmName,    // MainPMName of the code
    AuxPmName,     // AuxPMName of the main PM code and this code
    UnitTypeName,  // UnitTypeName of the code
    QueueName,     // QueueName of the code
    TnHint,        // "Use LD 32 to Convert TN H." and the characters
    Pointer,       // "H." bits " (DEC: " value ")"
    DialedDigits,  // characters 8, 7, 6, 5 of each word in turn; "0" skipped, "A" is digit 0
};

struct FieldRow {
    Field field;
    std::string_view key;          // the DecodedFields member's name, also its JSON key
    std::string_view caption;      // the caption label beside the result on screen
    std::string_view reportLabel;  // the report line's label text, with its trailing blank
    std::string DecodedFields::*member;
    std::string FieldCodes::*code;  // where the looked-up code is kept; nullptr if none
    int word;                       // the word it is cut from
    int lastWord;                   // the same word, or the last of a run of words
    From from;
    Cut cut;
    Shown shown;
};

// Word 3, bit characters (character 1 is bit 31):  Word 12, bit characters:
//   1 ... 19 | 20..24 | 25..29 | 30..32             1 ... 22 | 23..27 | 28..32
//            |  term  |  orig  |                             | unload |  load
// Word 10 is not decoded; characters 1 to 4 of words 13 to 30 are not decoded.
inline constexpr std::array<FieldRow, kFieldCount> kFields{{
    // field               key             caption          report label        member                         raw code               word  last  from        cut          shown
    {Field::CallRegister,  "CallRegister", "Call Register", "Call Register: ",  &DecodedFields::CallRegister,  nullptr,               1,    1,    From::Word, WholeWord(), Shown::AsTyped},
    {Field::MainPM,        "MainPM",       "Main PM",       "Main PM: ",        &DecodedFields::MainPM,        &FieldCodes::MainPM,   2,    2,    From::Word, Mid(5, 2),   Shown::MainPmName},
    {Field::AuxPM,         "AuxPM",        "AUX PM",        "AUX PM: ",         &DecodedFields::AuxPM,         &FieldCodes::AuxPM,    2,    2,    From::Word, Mid(7, 2),   Shown::AuxPmName},
    {Field::OrigType,      "OrigType",     "OrigType",      "Orig Type: ",      &DecodedFields::OrigType,      &FieldCodes::OrigType, 3,    3,    From::Bits, Mid(25, 5),  Shown::UnitTypeName},
    {Field::TermType,      "TermType",     "TermType",      "Term Type: ",      &DecodedFields::TermType,      &FieldCodes::TermType, 3,    3,    From::Bits, Mid(20, 5),  Shown::UnitTypeName},
    {Field::OrigTN,        "OrigTN",       "OrigTN",        "Orig TN: ",        &DecodedFields::OrigTN,        nullptr,               4,    4,    From::Word, Right(4),    Shown::TnHint},
    {Field::TermTN,        "TermTN",       "TermTN",        "Term TN: ",        &DecodedFields::TermTN,        nullptr,               5,    5,    From::Word, Right(4),    Shown::TnHint},
    {Field::Queue,         "Queue",        "Queue",         "Queue: ",          &DecodedFields::Queue,         &FieldCodes::Queue,    6,    6,    From::Word, Right(2),    Shown::QueueName},
    {Field::CRLink,        "CRLink",       "CR Fwd Link",   "CR Fwd Link: ",    &DecodedFields::CRLink,        nullptr,               7,    7,    From::Word, WholeWord(), Shown::AsTyped},
    {Field::CRBakLink,     "CRBakLink",    "CR Back Link",  "CR Bak Link: ",    &DecodedFields::CRBakLink,     nullptr,               8,    8,    From::Word, WholeWord(), Shown::AsTyped},
    {Field::AuxCR,         "AuxCR",        "Aux CR",        "Aux CR: ",         &DecodedFields::AuxCR,         nullptr,               9,    9,    From::Word, WholeWord(), Shown::AsTyped},
    {Field::CRDialed,      "CRDialed",     "CR Dialed",     "CR Dialed: ",      &DecodedFields::CRDialed,      nullptr,               11,   11,   From::Word, WholeWord(), Shown::AsTyped},
    {Field::DigitLoad,     "DigitLoad",    "Digit Load",    "Digit Load: ",     &DecodedFields::DigitLoad,     nullptr,               12,   12,   From::Bits, Right(5),    Shown::Pointer},
    {Field::DigitUnload,   "DigitUnload",  "Digit UnLoad",  "Digit Unload: ",   &DecodedFields::DigitUnload,   nullptr,               12,   12,   From::Bits, Mid(23, 5),  Shown::Pointer},
    {Field::DigsDialed,    "DigsDialed",   "Digits Dialed", "Digits Dialed: ",  &DecodedFields::DigsDialed,    nullptr,               13,   30,   From::Word, Mid(5, 4),   Shown::DialedDigits},
}};

constexpr const FieldRow& RowOf(Field field) { return kFields[IndexOf(field)]; }

// The characters a cut takes from a word or bit string, clipped as MidText and RightText clip;
// always valid UTF-8.
std::string CutOf(std::string_view text, Cut cut);

namespace catalogue_check {

constexpr bool InLabelOrder() {
    for (std::size_t i = 0; i < kFields.size(); ++i)
        if (IndexOf(kFields[i].field) != i) return false;
    return true;
}

constexpr bool KeysAndLabelsUnique() {
    for (std::size_t i = 0; i < kFields.size(); ++i)
        for (std::size_t j = i + 1; j < kFields.size(); ++j)
            if (kFields[i].key == kFields[j].key || kFields[i].member == kFields[j].member ||
                kFields[i].caption == kFields[j].caption ||
                kFields[i].reportLabel == kFields[j].reportLabel)
                return false;
    return true;
}

// Words 1..30; a cut lies inside an eight-digit word or its 32 bit characters; a report label
// ends in ": "; a code is kept only for a looked-up field.
constexpr bool PositionsSound() {
    for (const FieldRow& row : kFields) {
        const std::size_t width = row.from == From::Bits ? 32 : 8;
        if (row.word < 1 || row.lastWord < row.word || row.lastWord > kLastWord) return false;
        if (row.cut.take == Take::Mid &&
            (row.cut.start < 1 || row.cut.length < 1 || row.cut.start + row.cut.length - 1 > width))
            return false;
        if (row.cut.take == Take::Right && (row.cut.length < 1 || row.cut.length > width))
            return false;
        if (!row.reportLabel.ends_with(": ") || row.key.empty() || row.caption.empty()) return false;
        const bool lookedUp = row.shown == Shown::MainPmName || row.shown == Shown::AuxPmName ||
                              row.shown == Shown::UnitTypeName || row.shown == Shown::QueueName;
        if (lookedUp != (row.code != nullptr)) return false;
        if ((row.lastWord != row.word) != (row.shown == Shown::DialedDigits)) return false;
    }
    return true;
}

}  // namespace catalogue_check

static_assert(kFields.size() == kResultCount && IndexOf(Field::DigsDialed) + 1 == kFieldCount,
              "one row per result label");
static_assert(catalogue_check::InLabelOrder(), "rows follow the result label order");
static_assert(catalogue_check::KeysAndLabelsUnique(), "a key, member or label used twice");
static_assert(catalogue_check::PositionsSound(), "a word or cut outside the call register");
// The aux PM is named from the main PM code, so the main PM is cut first.
static_assert(IndexOf(Field::MainPM) < IndexOf(Field::AuxPM));

}  // namespace quillmark
