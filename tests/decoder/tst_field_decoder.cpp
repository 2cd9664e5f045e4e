// SPDX-License-Identifier: MIT
// The call register fields, end to end from text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "tests/support/Fixture.h"
#include "tests/support/NamedCase.h"
#include "tests/support/WorkedExample.h"

namespace quillmark {
namespace {

const std::string kWorkedExample(sample::kWorkedExample);

TEST(DecodeText, WorkedExample) {
    EXPECT_EQ(sample::Fixture().at("text"), kWorkedExample);
    const DecodedFields f = DecodeText(kWorkedExample);
    for (const FieldRow& row : kFields)  // term type 11010 is 26: no unit type, "UNKNOWN"
        EXPECT_EQ(f[row.field], sample::FixtureOf(row).at("result")) << row.key;
    EXPECT_TRUE(f.PointersDiffer);
    EXPECT_EQ(f.Code(Field::MainPM), "01");
    EXPECT_EQ(f.Code(Field::AuxPM), "02");
    EXPECT_EQ(f.Code(Field::TermType), "11010");
    EXPECT_EQ(f.Code(Field::OrigType), "01001");
    EXPECT_EQ(f.Code(Field::Queue), "0C");
}

TEST(DecodeText, EmptyInput) {
    const DecodedFields f = DecodeText("");
    const ResultCaptions captions = CaptionsInLabelOrder(f);
    EXPECT_EQ(std::vector<std::string>(captions.begin(), captions.end()),
              sample::FixtureTexts("emptyTextResult"));
    EXPECT_FALSE(f.PointersDiffer);
    EXPECT_EQ(f.Code(Field::MainPM), "");
    EXPECT_EQ(f.Code(Field::Queue), "");
}

TEST(DecodeCallRegister, ReadsOnlyTheArraysItIsGiven) {
    DataWords words;
    words.HexWords[2] = "00000C89";
    words.BinWords[3] =
        "0000000000000000000"
        "10111"
        "00001"
        "000";
    words.BinWords[12] = "ERRORERROR";
    words.HexWords[7] = "0009\xff";
    const DecodedFields f = DecodeCallRegister(words);
    EXPECT_EQ(f[Field::MainPM], "SPECIAL");
    EXPECT_EQ(f[Field::AuxPM], "GF_TIMER_CR");
    EXPECT_EQ(f[Field::TermType], "MAX_UNIT_MOD");
    EXPECT_EQ(f[Field::OrigType], "L500_UNIT");
    EXPECT_EQ(f[Field::DigitLoad], "H.ERROR (DEC: 0)");
    EXPECT_EQ(f[Field::CRLink], "0009\xef\xbf\xbd");  // no invalid UTF-8 comes out
}

// One field of a dump whose other words are the worked example's.
struct FieldCase : support::NamedCase {
    int word;
    std::string text;  // replaces word `word`
    Field field;
    std::string expected;
};

std::string WithWord(int word, const std::string& text) {
    DataWords words;
    ReadDataWords(kWorkedExample, words);
    std::string dump;
    for (int k = 1; k <= 13; ++k) {
        if (k > 1) dump += ' ';
        dump += k == word ? text : words.HexWords[static_cast<std::size_t>(k)];
    }
    return dump;
}

class FieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(FieldTest, Shows) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(DecodeText(WithWord(c.word, c.text))[c.field], c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, FieldTest,
    testing::Values(
        FieldCase{"ShortWord2FallsBack", 2, "0000", Field::MainPM, "UNDEFINED"},
        FieldCase{"ShortWord2NoAuxName", 2, "0000", Field::AuxPM, ""},
        FieldCase{"SevenCharWord2ShortAuxCode", 2, "0000020", Field::AuxPM, "UNKNOWN"},
        FieldCase{"AuxWithoutTable", 2, "00000602", Field::AuxPM, ""},
        FieldCase{"MainPmEstablished", 2, "00000602", Field::MainPM, "ESTABLISHED"},
        FieldCase{"LowerCaseMainPm", 2, "00000c02", Field::MainPM, "UNDEFINED"},
        FieldCase{"SixteenBitWord3", 3, "1A48", Field::TermType, "UNKNOWN"},
        FieldCase{"SixteenBitWord3Orig", 3, "1A48", Field::OrigType, "UNKNOWN"},
        FieldCase{"Word3TermType", 3, "00001748", Field::TermType, "MAX_UNIT_MOD"},
        FieldCase{"Word3OrigType", 3, "00001008", Field::OrigType, "L500_UNIT"},
        FieldCase{"ErrorInWord3", 3, "0000x008", Field::TermType, "UNKNOWN"},
        FieldCase{"TwoCharWord4", 4, "21", Field::OrigTN, "Use LD 32 to Convert TN H.21"},
        FieldCase{"TermTnKeepsCase", 5, "000b0a2f", Field::TermTN,
                  "Use LD 32 to Convert TN H.0a2f"},
        FieldCase{"LoneZeroQueue", 6, "0", Field::Queue, "NONE"},
        FieldCase{"QueueTotal", 6, "00000022", Field::Queue, "TOTAL_QUEUES"},
        FieldCase{"QueueBeyond", 6, "00000023", Field::Queue, "UNKNOWN"},
        FieldCase{"LowerCaseQueue", 6, "0000000c", Field::Queue, "UNKNOWN"},
        FieldCase{"LinkAsTyped", 7, "0009001x", Field::CRLink, "0009001x"},
        FieldCase{"Word10NotDecoded", 10, "FFFFFFFF", Field::CRDialed, "00000000"},
        FieldCase{"DialedCr", 11, "000A0001", Field::CRDialed, "000A0001"},
        FieldCase{"PointersZero", 12, "00000000", Field::DigitLoad, "H.00000 (DEC: 0)"},
        FieldCase{"PointerNotHex", 12, "000003Ex", Field::DigitLoad, "H.ERROR (DEC: 0)"},
        FieldCase{"UnloadPointer", 12, "000003E5", Field::DigitUnload, "H.11111 (DEC: 31)"},
        FieldCase{"DigitA", 13, "0000000A", Field::DigsDialed, "0"},
        FieldCase{"ZeroNibblesSkipped", 13, "00001020", Field::DigsDialed, "21"},
        FieldCase{"LowerCaseDigits", 13, "0000b1a3", Field::DigsDialed, "3a1b"},
        FieldCase{"AllZeroDigits", 13, "00000000", Field::DigsDialed, ""},
        FieldCase{"FirstFourIgnored", 13, "99990001", Field::DigsDialed, "1"},
        FieldCase{"ShortDigitWord", 13, "123456", Field::DigsDialed, "65"},
        FieldCase{"MultiByteDigit", 13,
                  "0000\xc3\xa9"
                  "001",
                  Field::DigsDialed, "1\xc3\xa9"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeText, PointerFlagFollowsTheTexts) {
    EXPECT_TRUE(DecodeText(WithWord(12, "000003E5")).PointersDiffer);
    EXPECT_FALSE(DecodeText(WithWord(12, "00000000")).PointersDiffer);
    EXPECT_FALSE(DecodeText(WithWord(12, "00000021")).PointersDiffer);  // 00001 both
}

TEST(DecodeText, DigitsFromEveryWordUpToThirty) {
    std::string dump = "0 0 0 0 0 0 0 0 0 0 0 0";
    for (int k = 13; k <= 31; ++k) dump += " 0000" + std::string(k == 31 ? "0009" : "4321");
    const DecodedFields f = DecodeText(dump);
    std::string expected;
    for (int k = 13; k <= 30; ++k) expected += "1234";
    EXPECT_EQ(f[Field::DigsDialed], expected);  // 72 digits; word 31 is never read
}

TEST(DecodeText, LeadingSpaceShiftsEveryField) {
    const DecodedFields f = DecodeText(" " + kWorkedExample);
    EXPECT_EQ(f[Field::CallRegister], "");
    EXPECT_EQ(f.Code(Field::MainPM), "F5");  // word 2 is the call register word, "0008F5B4"
    EXPECT_EQ(f[Field::MainPM], "UNDEFINED");
    EXPECT_EQ(f[Field::CRLink], "0000000C");
}

TEST(DecodeText, CrLfBetweenWordsChangesNothing) {
    std::string crlf = kWorkedExample;
    for (std::size_t pos = crlf.find(' '); pos != std::string::npos; pos = crlf.find(' ', pos + 3))
        crlf.insert(pos + 1, "\r\n");
    EXPECT_EQ(CaptionsInLabelOrder(DecodeText(crlf + "\r\n")),
              CaptionsInLabelOrder(DecodeText(kWorkedExample)));
}

}  // namespace
}  // namespace quillmark
