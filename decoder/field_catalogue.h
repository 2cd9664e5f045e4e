// SPDX-License-Identifier: MIT
#pragma once
// The call register fields, one row each: how a field is called, where its result goes, and
// which word and characters it is cut from. Every output walks this one table: the decoder
// (RecordView, DecodeCallRegister, DecodedFields), the result captions and the clipboard report,
// the JSON keys and its "codes" (the rows with a looked-up code), --explain and the provenance,
// the window's result rows and the web page's (built from what its module exports). A new field
// is a value of `Field` and a row here (kept in the same order); besides this file, only the
// window's geometry table (kResultGeometry in ui/main/frmMain.cpp) gets a row, and the build
// fails until it has one. A field shown in a new way also needs its case in ShowCut
// (decoder/field_decoder.cpp).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace quillmark {

// The results in result label order: the order of the labels, the captions and the report.
// clang-format off
enum class Field : std::uint8_t {
    CallRegister, MainPM, AuxPM, OrigType, TermType, OrigTN, TermTN, Queue,
    CRLink, CRBakLink, AuxCR, CRDialed, DigitLoad, DigitUnload, DigsDialed,
};
// clang-format on

inline constexpr int kLastWord = 30;  // words 1..30 are read and decoded

constexpr std::size_t IndexOf(Field field) { return static_cast<std::size_t>(field); }

// A field is cut from the word as typed, or from its bit string.
enum class From : std::uint8_t { Word, Bits };

// Which characters of the word (or bit string) a field takes: the whole text, the characters
// from `start` on (MidText, 1-based), or the last `length` characters (RightText); read from
// the first to the last, or from the last to the first.
enum class Take : std::uint8_t { WholeWord, Mid, Right };
struct Cut {
    Take take;
    std::size_t start;       // 1-based; 0 for WholeWord and Right
    std::size_t length;      // at most this many characters; 0 for WholeWord
    bool lastFirst = false;  // its characters are read from the last to the first
};
constexpr Cut WholeWord() { return {Take::WholeWord, 0, 0}; }
constexpr Cut Mid(std::size_t start, std::size_t length) { return {Take::Mid, start, length}; }
constexpr Cut Right(std::size_t length) { return {Take::Right, 0, length}; }
constexpr Cut LastFirst(Cut cut) {
    cut.lastFirst = true;
    return cut;
}

// The text shown before a TN.
inline constexpr std::string_view kTnHint = "Use LD 32 to Convert TN H.";

// How the cut characters become the shown text.
enum class Shown : std::uint8_t {
    AsTyped,       // the characters unchanged
    MainPmName,    // MainPMName of the code
    AuxPmName,     // AuxPMName of the main PM code and this code
    UnitTypeName,  // UnitTypeName of the code
    QueueName,     // QueueName of the code
    TnHint,        // kTnHint and the characters
    Pointer,       // "H." bits " (DEC: " value ")"
    DialedDigits,  // the cut characters of each word in turn; "0" skipped, "A" is digit 0
};

// What a way of showing means for the rest of the program; one row per Shown, in its order.
struct ShownTraits {
    Shown shown;
    bool hasCode;    // a name looked up from the code: the code is kept beside it (JSON "codes")
    bool isPointer;  // a digit pointer: the two are compared, and marked when they differ
    bool readsRun;   // reads a run of words; a word that gave nothing is no source of it
};
// clang-format off
inline constexpr auto kShownTraits = std::to_array<ShownTraits>({
    // shown                 code   pointer run
    {Shown::AsTyped,        false, false,  false},
    {Shown::MainPmName,     true,  false,  false},
    {Shown::AuxPmName,      true,  false,  false},
    {Shown::UnitTypeName,   true,  false,  false},
    {Shown::QueueName,      true,  false,  false},
    {Shown::TnHint,         false, false,  false},
    {Shown::Pointer,        false, true,   false},
    {Shown::DialedDigits,   false, false,  true},
});
// clang-format on
constexpr const ShownTraits& TraitsOf(Shown shown) {
    return kShownTraits[static_cast<std::size_t>(shown)];
}

struct FieldRow {
    Field field;
    std::string_view key;          // the field's name, also its JSON key; the result label is
                                   // "lbl" + key + "Data"
    std::string_view label;        // the control name of the caption label beside the result
    std::string_view caption;      // the caption label's text on screen
    std::string_view reportLabel;  // the report line's label text, with its trailing blank
    int word;                      // the word it is cut from
    int lastWord;                  // the same word, or the last of a run of words
    From from;
    Cut cut;
    Shown shown;
};

// Word 3, bit characters (character 1 is bit 31):  Word 12, bit characters:
//   1 ... 19 | 20..24 | 25..29 | 30..32             1 ... 22 | 23..27 | 28..32
//            |  term  |  orig  |                             | unload |  load
// Word 10 is not decoded; characters 1 to 4 of words 13 to 30 are not decoded.
// clang-format off
inline constexpr auto kFields = std::to_array<FieldRow>({
    // field               key             caption label     caption          report label        word  last  from        cut          shown
    {Field::CallRegister, "CallRegister", "lblCallReg",     "Call Register", "Call Register: ",  1,    1,    From::Word, WholeWord(), Shown::AsTyped},
    {Field::MainPM,       "MainPM",       "lblMainPM",      "Main PM",       "Main PM: ",        2,    2,    From::Word, Mid(5, 2),   Shown::MainPmName},
    {Field::AuxPM,        "AuxPM",        "lblAuxPM",       "AUX PM",        "AUX PM: ",         2,    2,    From::Word, Mid(7, 2),   Shown::AuxPmName},
    {Field::OrigType,     "OrigType",     "lblOrigType",    "OrigType",      "Orig Type: ",      3,    3,    From::Bits, Mid(25, 5),  Shown::UnitTypeName},
    {Field::TermType,     "TermType",     "lblTermType",    "TermType",      "Term Type: ",      3,    3,    From::Bits, Mid(20, 5),  Shown::UnitTypeName},
    {Field::OrigTN,       "OrigTN",       "lblOrigTN",      "OrigTN",        "Orig TN: ",        4,    4,    From::Word, Right(4),    Shown::TnHint},
    {Field::TermTN,       "TermTN",       "lblTermTN",      "TermTN",        "Term TN: ",        5,    5,    From::Word, Right(4),    Shown::TnHint},
    {Field::Queue,        "Queue",        "lblQueue",       "Queue",         "Queue: ",          6,    6,    From::Word, Right(2),    Shown::QueueName},
    {Field::CRLink,       "CRLink",       "lblCRLink",      "CR Fwd Link",   "CR Fwd Link: ",    7,    7,    From::Word, WholeWord(), Shown::AsTyped},
    {Field::CRBakLink,    "CRBakLink",    "lblCRBakLink",   "CR Back Link",  "CR Bak Link: ",    8,    8,    From::Word, WholeWord(), Shown::AsTyped},
    {Field::AuxCR,        "AuxCR",        "lblAuxCR",       "Aux CR",        "Aux CR: ",         9,    9,    From::Word, WholeWord(), Shown::AsTyped},
    {Field::CRDialed,     "CRDialed",     "lblCRDialed",    "CR Dialed",     "CR Dialed: ",      11,   11,   From::Word, WholeWord(), Shown::AsTyped},
    {Field::DigitLoad,    "DigitLoad",    "lblDigitLoad",   "Digit Load",    "Digit Load: ",     12,   12,   From::Bits, Right(5),    Shown::Pointer},
    {Field::DigitUnload,  "DigitUnload",  "lblDigitUnload", "Digit UnLoad",  "Digit Unload: ",   12,   12,   From::Bits, Mid(23, 5),  Shown::Pointer},
    {Field::DigsDialed,   "DigsDialed",   "lblDigsDialed",  "Digits Dialed", "Digits Dialed: ",  13,   30,   From::Word, LastFirst(Mid(5, 4)), Shown::DialedDigits},
});
// clang-format on
inline constexpr std::size_t kFieldCount = kFields.size();
// The page keeps a set of fields in a 32-bit mask.
static_assert(kFieldCount <= 32, "more fields than a 32-bit field mask holds");

// A field shown by a name looked up from its code; its code is kept beside its text (JSON "codes").
constexpr bool HasCode(const FieldRow& row) { return TraitsOf(row.shown).hasCode; }
// A field that reads a run of words (row.word to row.lastWord) rather than one word.
constexpr bool ReadsRun(const FieldRow& row) { return TraitsOf(row.shown).readsRun; }
// Where a cut starts in its word or bit string of full width (eight characters, 32 bits).
constexpr std::size_t StartInWord(const FieldRow& row) {
    const std::size_t width = row.from == From::Bits ? 32 : 8;
    return row.cut.take == Take::Right ? width - row.cut.length + 1 : row.cut.start;
}

// The fields that keep a code, in the order their codes stand in the dump: JSON "codes".
inline constexpr auto kCodeFields = [] {
    constexpr std::size_t count = [] {
        std::size_t n = 0;
        for (const FieldRow& row : kFields) n += HasCode(row);
        return n;
    }();
    std::array<Field, count> fields{};
    std::size_t n = 0;
    for (const FieldRow& row : kFields)
        if (HasCode(row)) fields[n++] = row.field;
    const auto before = [](Field a, Field b) {
        const FieldRow& x = kFields[static_cast<std::size_t>(a)];
        const FieldRow& y = kFields[static_cast<std::size_t>(b)];
        return x.word != y.word ? x.word < y.word : StartInWord(x) < StartInWord(y);
    };
    for (std::size_t i = 1; i < count; ++i)
        for (std::size_t j = i; j > 0 && before(fields[j], fields[j - 1]); --j)
            std::swap(fields[j], fields[j - 1]);
    return fields;
}();

// A digit pointer: the record tells whether the pointers differ, and the window and the page
// mark them when they do.
constexpr bool IsPointer(const FieldRow& row) { return TraitsOf(row.shown).isPointer; }

// The two digit pointers (load and unload), compared as a pair.
inline constexpr std::array<Field, 2> kPointerFields = [] {
    std::array<Field, 2> pointers{};
    std::size_t n = 0;
    for (const FieldRow& row : kFields)
        if (IsPointer(row)) {
            if (n == pointers.size()) throw "more than two digit pointers";
            pointers[n++] = row.field;
        }
    if (n != pointers.size()) throw "fewer than two digit pointers";
    return pointers;
}();

constexpr const FieldRow& RowOf(Field field) { return kFields[IndexOf(field)]; }

// The characters a cut takes from a word or bit string of valid UTF-8, clipped where the text is
// shorter: a view of the text.
std::string_view CutView(std::string_view valid, Cut cut);
// The same for any bytes (those that are not valid UTF-8 read as U+FFFD); always valid UTF-8.
std::string CutOf(std::string_view text, Cut cut);

namespace catalogue_check {

constexpr bool TraitsInOrder() {
    for (std::size_t i = 0; i < kShownTraits.size(); ++i)
        if (static_cast<std::size_t>(kShownTraits[i].shown) != i) return false;
    return kShownTraits.size() == static_cast<std::size_t>(Shown::DialedDigits) + 1;
}

constexpr bool InLabelOrder() {
    for (std::size_t i = 0; i < kFields.size(); ++i)
        if (IndexOf(kFields[i].field) != i) return false;
    return true;
}

constexpr bool KeysAndLabelsUnique() {
    for (std::size_t i = 0; i < kFields.size(); ++i)
        for (std::size_t j = i + 1; j < kFields.size(); ++j)
            if (kFields[i].key == kFields[j].key || kFields[i].label == kFields[j].label ||
                kFields[i].caption == kFields[j].caption ||
                kFields[i].reportLabel == kFields[j].reportLabel)
                return false;
    return true;
}

// Words 1..30; a cut lies inside an eight-digit word or its 32 bit characters; a report label
// ends in ": "; only the dialed digits read a run of words.
constexpr bool PositionsSound() {
    for (const FieldRow& row : kFields) {
        const std::size_t width = row.from == From::Bits ? 32 : 8;
        if (row.word < 1 || row.lastWord < row.word || row.lastWord > kLastWord) return false;
        if (row.cut.take == Take::Mid &&
            (row.cut.start < 1 || row.cut.length < 1 || row.cut.start + row.cut.length - 1 > width))
            return false;
        if (row.cut.take == Take::Right && (row.cut.length < 1 || row.cut.length > width))
            return false;
        if (!row.reportLabel.ends_with(": ") || row.key.empty() || row.caption.empty() ||
            !row.label.starts_with("lbl"))
            return false;
        if ((row.lastWord != row.word) != ReadsRun(row)) return false;
    }
    return true;
}

}  // namespace catalogue_check

static_assert(catalogue_check::InLabelOrder(), "rows follow the result label order");
static_assert(catalogue_check::TraitsInOrder(), "one traits row per way of showing, in order");
static_assert(catalogue_check::KeysAndLabelsUnique(), "a key, member or label used twice");
static_assert(catalogue_check::PositionsSound(), "a word or cut outside the call register");
// The aux PM is named from the main PM code, so the main PM is cut first.
static_assert(IndexOf(Field::MainPM) < IndexOf(Field::AuxPM));

}  // namespace quillmark
