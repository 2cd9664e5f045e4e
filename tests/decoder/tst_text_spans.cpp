// SPDX-License-Identifier: MIT
// Where fields and faulty words stand in the message text.

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/provenance.h"
#include "decoder/text_spans.h"
#include "decoder/word_notes.h"
#include "tests/support/Fixture.h"
#include "tests/support/NamedCase.h"
#include "tests/support/WorkedExample.h"

namespace quillmark {

void PrintTo(const TextSpan& span, std::ostream* os) {
    *os << "{" << span.start << ", " << span.length << "}";
}

namespace {

using Spans = std::vector<TextSpan>;

std::string Worked() { return std::string(sample::kWorkedExample); }

// The worked example with every separating space replaced.
std::string WorkedJoinedBy(std::string_view separator) {
    std::string text;
    for (char c : sample::kWorkedExample) {
        if (c == ' ')
            text += separator;
        else
            text += c;
    }
    return text;
}

// The worked example with the space after word `word` replaced.
std::string WorkedWithSeparatorAfter(int word, std::string_view separator) {
    std::string text = Worked();
    text.replace(static_cast<std::size_t>(word) * 9 - 1, 1, separator);
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// ---- Field spans -----------------------------------------------------------------------------

// Bit fields mark the hexadecimal digits that hold their bits.
TEST(SpansOf, WorkedExample) {
    const FieldSpans spans = SpansOf(sample::kWorkedExample);
    for (const FieldRow& row : kFields)
        EXPECT_EQ(spans[IndexOf(row.field)],
                  sample::FixtureSpans(sample::FixtureOf(row).at("spans")))
            << row.key;
}

struct SpanCase : support::NamedCase {
    std::string text;
    Field field;
    Spans expected;
};

class SpanTest : public testing::TestWithParam<SpanCase> {};

TEST_P(SpanTest, Marks) {
    const SpanCase& c = GetParam();
    EXPECT_EQ(SpansOf(c.text)[IndexOf(c.field)], c.expected);
}

const std::string kTwelveWords = "0 0 0 0 0 0 0 0 0 0 0 0 ";  // words 1-12 of one digit each

INSTANTIATE_TEST_SUITE_P(
    Cases, SpanTest,
    testing::Values(
        SpanCase{"EmptyText", "", Field::CallRegister, {}},
        SpanCase{"MissingWord", "0008F5B4", Field::MainPM, {}},
        SpanCase{"LineBreakSplitsTheRun", "0008\r\nF5B4", Field::CallRegister, {{0, 4}, {6, 4}}},
        SpanCase{"LineBreakInsideACut", "0 00000\n102", Field::MainPM, {{6, 1}, {8, 1}}},
        SpanCase{"LineBreaksBetweenWordsKeepTheirPlaces",
                 "0\r\n \r\n00000102",
                 Field::MainPM,
                 {{10, 2}}},
        SpanCase{"ShortWordGivesWhatItHas", "0 0 0 12", Field::OrigTN, {{6, 2}}},
        SpanCase{"WordTooShortForTheCut", "0 0001", Field::MainPM, {}},
        SpanCase{"LeadingSpaceMovesEveryWord", " 0008F5B4 00000102", Field::MainPM, {{5, 2}}},
        SpanCase{"LeadingSpaceEmptiesWordOne", " 0008F5B4", Field::CallRegister, {}},
        // "000G1A48": digits 1-3 hold bits 1-12, "G" five bits 13-17 ("ERROR"), "1" 18-21,
        // "A" 22-25, "4" 26-29, "8" 30-33.
        SpanCase{"BitsShiftedByANonDigit", "0 0 000G1A48", Field::TermType, {{8, 2}}},
        SpanCase{"BitsShiftedByANonDigitOrig", "0 0 000G1A48", Field::OrigType, {{9, 2}}},
        SpanCase{"BitCutInsideAWideCharacter", "0 0 0000\xC3\xA9", Field::TermType, {{8, 1}}},
        SpanCase{"BitCutBeyondAShortBitString", "0 0 0000\xC3\xA9", Field::OrigType, {}},
        SpanCase{"LoadPointerOfAShortWord",
                 kTwelveWords.substr(0, 22) + "3E5",
                 Field::DigitLoad,
                 {{23, 2}}},
        SpanCase{"UnloadPointerOfAShortWord",
                 kTwelveWords.substr(0, 22) + "3E5",
                 Field::DigitUnload,
                 {}},
        SpanCase{"WideCharactersCountOnce", "\xC3\xA9 00000102", Field::MainPM, {{6, 2}}},
        SpanCase{"BrokenBytesCountOnce", "\xFF\xFE 00000102", Field::MainPM, {{7, 2}}},
        SpanCase{"FourByteCharacter", "\xF0\x9F\x98\x80 00000102", Field::MainPM, {{6, 2}}},
        SpanCase{"DialedDigitsOfEveryWordRead",
                 kTwelveWords + "00000000 0000B1A3 00001",
                 Field::DigsDialed,
                 {{28, 4}, {37, 4}, {46, 1}}},
        SpanCase{"DialedDigitsOfEmptyWordsNone",
                 kTwelveWords + " 0000B1A3",
                 Field::DigsDialed,
                 {{29, 4}}},
        SpanCase{"DialedDigitsOverALineBreak",
                 kTwelveWords + "000012\r\n34",
                 Field::DigsDialed,
                 {{28, 2}, {32, 2}}},
        SpanCase{"NothingAfterWordThirty",
                 [] {
                     std::string text;
                     for (int k = 1; k <= 31; ++k) text += "00000001 ";
                     return text;
                 }(),
                 Field::DigsDialed,
                 [] {
                     Spans spans;
                     for (std::size_t k = 13; k <= 30; ++k) spans.push_back({(k - 1) * 9 + 4, 4});
                     return spans;
                 }()}),
    [](const testing::TestParamInfo<SpanCase>& info) { return std::string(info.param.name); });

// Every field's spans hold exactly the characters its source names, in order: the marks and
// the tooltips never disagree.
TEST(SpansOf, HoldTheCharactersOfTheirSources) {
    const std::vector<std::string> texts{
        Worked(),
        WorkedWithSeparatorAfter(6, "\r\n"),
        WorkedJoinedBy(" \r\n"),
        "0008\r\nF5B4 000\n00102 00\r\n001A48 x\xC3\xA9yz 12",
        " " + Worked(),
        Lower(Worked()),
    };
    for (const std::string& text : texts) {
        // The text's characters, one string each, so that spans can pick them by position.
        std::vector<std::string> chars;
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t size = (static_cast<unsigned char>(text[pos]) & 0xE0) == 0xC0 ? 2 : 1;
            chars.push_back(text.substr(pos, size));
            pos += size;
        }
        DataWords words;
        ReadDataWords(text, words);
        const FieldSources sources = SourcesOf(words);
        const FieldSpans spans = SpansOf(text);
        for (const FieldRow& row : kFields) {
            if (row.from == From::Bits || row.shown == Shown::DialedDigits) continue;
            std::string marked;
            for (const TextSpan& span : spans[IndexOf(row.field)])
                for (std::size_t i = span.start; i < span.end(); ++i) marked += chars.at(i);
            std::string taken;
            for (const Source& source : sources[IndexOf(row.field)]) taken += source.text;
            EXPECT_EQ(marked, taken) << row.key << " in " << text;
        }
    }
}

// ---- Fields at a caret or in a selection -------------------------------------------------------

struct CaretCase : support::NamedCase {
    std::size_t start;
    std::size_t end;  // equal to start: a caret
    std::vector<Field> expected;
};

class CaretTest : public testing::TestWithParam<CaretCase> {};

TEST_P(CaretTest, NamesTheFieldsFed) {
    const CaretCase& c = GetParam();
    static const FieldSpans spans = SpansOf(sample::kWorkedExample);
    const FieldSet found =
        c.start == c.end ? FieldsAtCaret(spans, c.start) : FieldsIn(spans, c.start, c.end);
    FieldSet expected;
    for (Field field : c.expected) expected.set(IndexOf(field));
    EXPECT_EQ(found, expected);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExample, CaretTest,
    testing::Values(CaretCase{"StartOfText", 0, 0, {Field::CallRegister}},
                    CaretCase{"BehindWordOne", 8, 8, {Field::CallRegister}},
                    CaretCase{"UndecodedDigitsOfWordTwo", 9, 9, {}},
                    CaretCase{"MainPmCode", 14, 14, {Field::MainPM}},
                    CaretCase{"BetweenMainAndAuxPm", 15, 15, {Field::AuxPM}},
                    CaretCase{"BehindWordTwo", 17, 17, {Field::AuxPM}},
                    CaretCase{"TermTypeDigits", 23, 23, {Field::TermType}},
                    CaretCase{"OrigTypeDigits", 24, 24, {Field::OrigType}},
                    CaretCase{"UndecodedWordTen", 84, 84, {}},
                    CaretCase{"UnloadOnly", 104, 104, {Field::DigitUnload}},
                    CaretCase{"LoadAndUnload", 105, 105, {Field::DigitLoad, Field::DigitUnload}},
                    CaretCase{"EndOfText", 116, 116, {Field::DigsDialed}},
                    CaretCase{"PastTheText", 200, 200, {}},
                    CaretCase{"SelectionOverWordTwo", 9, 17, {Field::MainPM, Field::AuxPM}},
                    CaretCase{"SelectionOverTheTypes", 20, 26, {Field::TermType, Field::OrigType}},
                    CaretCase{"SelectionOfASpace", 8, 9, {}},
                    CaretCase{"SelectionOfEverything", 0, 116,
                              [] {
                                  std::vector<Field> all;
                                  for (const FieldRow& row : kFields) all.push_back(row.field);
                                  return all;
                              }()}),
    [](const testing::TestParamInfo<CaretCase>& info) { return std::string(info.param.name); });

// ---- Word notes ------------------------------------------------------------------------------

struct NoteCase : support::NamedCase {
    std::string text;
    std::vector<WordNote> expected;
};

class NoteTest : public testing::TestWithParam<NoteCase> {};

TEST_P(NoteTest, Says) {
    const NoteCase& c = GetParam();
    const std::vector<WordNote> notes = WordNotesOf(c.text);
    ASSERT_EQ(notes.size(), c.expected.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        SCOPED_TRACE(c.expected[i].text);
        EXPECT_EQ(notes[i].word, c.expected[i].word);
        EXPECT_EQ(notes[i].text, c.expected[i].text);
        EXPECT_EQ(notes[i].span, c.expected[i].span);
        EXPECT_EQ(notes[i].mark, c.expected[i].mark);
        // Found on its marked character, also where another note shares it.
        const std::span<const WordNote> at = NotesAt(notes, notes[i].mark.start);
        EXPECT_TRUE(std::ranges::any_of(at, [&](const WordNote& n) { return &n == &notes[i]; }));
    }
}

WordNote Note(int word, TextSpan span, std::string text) {
    return {word, span, std::move(text), span};
}
WordNote Note(int word, TextSpan span, std::string text, TextSpan mark) {
    return {word, span, std::move(text), mark};
}

std::string ThirtyWordsAnd(std::string_view rest) {
    std::string text;
    for (int k = 1; k <= 30; ++k) text += "00000001 ";
    return text + std::string(rest);
}

INSTANTIATE_TEST_SUITE_P(
    FaultyPastes, NoteTest, testing::ValuesIn([] {
        std::vector<NoteCase> cases;
        for (const auto& paste : sample::Fixture().at("faultyPastes")) {
            NoteCase c{
                paste.at("name").get_ref<const std::string&>().c_str(), paste.at("text"), {}};
            for (const auto& n : paste.at("notes"))
                c.expected.push_back(Note(n.at("word"), sample::FixtureSpan(n.at("span")),
                                          n.at("text"), sample::FixtureSpan(n.at("mark"))));
            cases.push_back(c);
        }
        return cases;
    }()),
    [](const testing::TestParamInfo<NoteCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Words, NoteTest,
    testing::Values(
        NoteCase{"EmptyText", "", {}}, NoteCase{"OnlyLineBreaks", "\r\n\r\n", {}},
        NoteCase{"LineBreakAtTheEnd", Worked() + "\r\n", {}},
        NoteCase{
            "WrappedOverTwoLines",
            WorkedWithSeparatorAfter(6, "\r\n"),
            {Note(6, {45, 18}, "word 6 has 16 characters: two words joined by a line break?")}},
        NoteCase{"WrappedAfterASpace", WorkedWithSeparatorAfter(6, " \r\n"), {}},
        NoteCase{"EightDigitsOverALineBreak", "0008\r\nF5B4", {}},
        NoteCase{"OneTab",
                 "0008F5B4\t00000102",
                 {Note(1, {0, 17}, "word 1 holds a tab: only spaces separate words")}},
        NoteCase{"TwoSpaces",
                 "0008F5B4  00000102",
                 {Note(2, {9, 0}, "word 2 is empty: two spaces in a row", {9, 1})}},
        NoteCase{"TrailingSpace",
                 "0008F5B4 ",
                 {Note(2, {9, 0}, "word 2 is empty: the text ends with a space", {8, 1})}},
        NoteCase{"SpacesAroundALineBreak",
                 "0008F5B4 \r\n 00000102",
                 {Note(2, {11, 0},
                       "word 2 is empty: a line ends with a space and the next begins with one",
                       {11, 1})}},
        NoteCase{"LineBreakThenLeadingSpace",
                 "\n 0008F5B4",
                 {Note(1, {1, 0}, "word 1 is empty: the text starts with a space", {1, 1})}},
        NoteCase{"NotADigit",
                 "0008G5B4",
                 {Note(1, {0, 8}, "word 1, character 5 is \"G\": not a hexadecimal digit")}},
        NoteCase{"NoBreakSpace",
                 "0008\xC2\xA0"
                 "F5B4",
                 {Note(1, {0, 9}, "word 1, character 5 is U+00A0: not a hexadecimal digit")}},
        NoteCase{"CharacterBeyondFourDigits",
                 "0008\xF0\x9F\x93\x9E"
                 "5B4",
                 {Note(1, {0, 8}, "word 1, character 5 is U+1F4DE: not a hexadecimal digit")}},
        NoteCase{"BrokenByte",
                 "00\xFF"
                 "08F5B4",
                 {Note(1, {0, 9}, "word 1, character 3 is U+FFFD: not a hexadecimal digit")}},
        NoteCase{"QuoteCharacter",
                 "0008\"5B4",
                 {Note(1, {0, 8}, "word 1, character 5 is U+0022: not a hexadecimal digit")}},
        NoteCase{"MarkupCharacter",
                 "<b>x</b>",
                 {Note(1, {0, 8}, "word 1, character 1 is U+003C: not a hexadecimal digit")}},
        NoteCase{"TooShort",
                 "0008F5B 1",
                 {Note(1, {0, 7}, "word 1 has 7 characters, not 8"),
                  Note(2, {8, 1}, "word 2 has 1 character, not 8")}},
        NoteCase{"TooLong", "0008F5B40", {Note(1, {0, 9}, "word 1 has 9 characters, not 8")}},
        NoteCase{
            "MixedCase",
            "0008f5B4",
            {Note(1, {0, 8}, "word 1 has lower-case digits: only upper-case digits are read")}},
        NoteCase{"LowerCaseOfWrongLength",
                 "0008f5b",
                 {Note(1, {0, 7}, "word 1 has 7 characters, not 8")}},
        NoteCase{"WordThirtyOneIsNotRead", ThirtyWordsAnd("xyz"), {}},
        NoteCase{"WordThirtyIsRead",
                 ThirtyWordsAnd("").substr(0, 30 * 9 - 2),
                 {Note(30, {261, 7}, "word 30 has 7 characters, not 8")}}),
    [](const testing::TestParamInfo<NoteCase>& info) { return std::string(info.param.name); });

TEST(NotesAt, FindsTheNoteUnderACharacter) {
    const std::vector<WordNote> notes = WordNotesOf("0008f5b4  00000102");
    ASSERT_EQ(notes.size(), 2U);
    const auto words = [&](std::size_t position) {
        std::vector<int> found;
        for (const WordNote& note : NotesAt(notes, position)) found.push_back(note.word);
        return found;
    };
    EXPECT_EQ(words(0), std::vector<int>{1});
    EXPECT_EQ(words(7), std::vector<int>{1});
    EXPECT_EQ(words(8), std::vector<int>{});   // the space that ends word 1
    EXPECT_EQ(words(9), std::vector<int>{2});  // the space that ends the empty word 2
    EXPECT_EQ(words(10), std::vector<int>{});
}

// A text as long as the input box holds, made of one word: every position is still counted.
TEST(SpansOf, LongTextsKeepTheirPositions) {
    std::string text(65536 - 9, '0');
    text += " 00000102";
    EXPECT_EQ(SpansOf(text)[IndexOf(Field::MainPM)], (Spans{{65536 - 4, 2}}));
    const std::vector<WordNote> notes = WordNotesOf(text);
    ASSERT_EQ(notes.size(), 1U);
    EXPECT_EQ(notes[0].text, "word 1 has 65527 characters, not 8");
}

}  // namespace
}  // namespace quillmark
