// SPDX-License-Identifier: MIT
// The call register fields, end to end from text.

#include <gtest/gtest.h>

#include <string>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "tests/support/WorkedExample.h"

namespace quillmark {
namespace {

const std::string kWorkedExample(sample::kWorkedExample);

TEST(DecodeText, WorkedExample) {
    const DecodedFields f = DecodeText(kWorkedExample);
    for (const FieldRow& row : kFields)  // term type 11010 is 26: no unit type, "UNKNOWN"
        EXPECT_EQ(f.*row.member, sample::kWorkedExampleResults[IndexOf(row.field)]) << row.key;
    EXPECT_TRUE(f.PointersDiffer);
    EXPECT_EQ(f.Codes.MainPM, "01");
    EXPECT_EQ(f.Codes.AuxPM, "02");
    EXPECT_EQ(f.Codes.TermType, "11010");
    EXPECT_EQ(f.Codes.OrigType, "01001");
    EXPECT_EQ(f.Codes.Queue, "0C");
}

TEST(DecodeText, EmptyInput) {
    const DecodedFields f = DecodeText("");
    const ResultCaptions expected{"", "UNDEFINED", "", "UNKNOWN", "UNKNOWN",
                                  "Use LD 32 to Convert TN H.", "Use LD 32 to Convert TN H.",
                                  "UNKNOWN", "", "", "", "", "H. (DEC: 0)", "H. (DEC: 0)", ""};
    EXPECT_EQ(CaptionsInLabelOrder(f), expected);
    EXPECT_FALSE(f.PointersDiffer);
    EXPECT_EQ(f.Codes.MainPM, "");
    EXPECT_EQ(f.Codes.Queue, "");
}

TEST(DecodeCallRegister, ReadsOnlyTheArraysItIsGiven) {
    DataWords words;
    words.HexWords[2] = "00000C89";
    words.BinWords[3] = "0000000000000000000" "10111" "00001" "000";
    words.BinWords[12] = "ERRORERROR";
    words.HexWords[7] = "0009\xff";
    const DecodedFields f = DecodeCallRegister(words);
    EXPECT_EQ(f.MainPM, "SPECIAL");
    EXPECT_EQ(f.AuxPM, "GF_TIMER_CR");
    EXPECT_EQ(f.TermType, "MAX_UNIT_MOD");
    EXPECT_EQ(f.OrigType, "L500_UNIT");
    EXPECT_EQ(f.DigitLoad, "H.ERROR (DEC: 0)");
    EXPECT_EQ(f.CRLink, "0009\xef\xbf\xbd");  // no invalid UTF-8 comes out
}

// One field of a dump whose other words are the worked example's.
struct FieldCase {
    const char* name;
    int word;
    std::string text;  // replaces word `word`
    std::string DecodedFields::*field;
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

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }

class FieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(FieldTest, Shows) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(DecodeText(WithWord(c.word, c.text)).*c.field, c.expected);
    DecodedFields kept;
    DecodeText(WithWord(c.word, c.text), kept);
    EXPECT_EQ(kept.*c.field, c.expected) << "decoded into a record";
}

INSTANTIATE_TEST_SUITE_P(
    Edges, FieldTest,
    testing::Values(
        FieldCase{"ShortWord2FallsBack", 2, "0000", &DecodedFields::MainPM, "UNDEFINED"},
        FieldCase{"ShortWord2NoAuxName", 2, "0000", &DecodedFields::AuxPM, ""},
        FieldCase{"SevenCharWord2ShortAuxCode", 2, "0000020", &DecodedFields::AuxPM, "UNKNOWN"},
        FieldCase{"AuxWithoutTable", 2, "00000602", &DecodedFields::AuxPM, ""},
        FieldCase{"MainPmEstablished", 2, "00000602", &DecodedFields::MainPM, "ESTABLISHED"},
        FieldCase{"LowerCaseMainPm", 2, "00000c02", &DecodedFields::MainPM, "UNDEFINED"},
        FieldCase{"SixteenBitWord3", 3, "1A48", &DecodedFields::TermType, "UNKNOWN"},
        FieldCase{"SixteenBitWord3Orig", 3, "1A48", &DecodedFields::OrigType, "UNKNOWN"},
        FieldCase{"Word3TermType", 3, "00001748", &DecodedFields::TermType, "MAX_UNIT_MOD"},
        FieldCase{"Word3OrigType", 3, "00001008", &DecodedFields::OrigType, "L500_UNIT"},
        FieldCase{"ErrorInWord3", 3, "0000x008", &DecodedFields::TermType, "UNKNOWN"},
        FieldCase{"TwoCharWord4", 4, "21", &DecodedFields::OrigTN, "Use LD 32 to Convert TN H.21"},
        FieldCase{"TermTnKeepsCase", 5, "000b0a2f", &DecodedFields::TermTN, "Use LD 32 to Convert TN H.0a2f"},
        FieldCase{"LoneZeroQueue", 6, "0", &DecodedFields::Queue, "NONE"},
        FieldCase{"QueueTotal", 6, "00000022", &DecodedFields::Queue, "TOTAL_QUEUES"},
        FieldCase{"QueueBeyond", 6, "00000023", &DecodedFields::Queue, "UNKNOWN"},
        FieldCase{"LowerCaseQueue", 6, "0000000c", &DecodedFields::Queue, "UNKNOWN"},
        FieldCase{"LinkAsTyped", 7, "0009001x", &DecodedFields::CRLink, "0009001x"},
        FieldCase{"Word10NotDecoded", 10, "FFFFFFFF", &DecodedFields::CRDialed, "00000000"},
        FieldCase{"DialedCr", 11, "000A0001", &DecodedFields::CRDialed, "000A0001"},
        FieldCase{"PointersZero", 12, "00000000", &DecodedFields::DigitLoad, "H.00000 (DEC: 0)"},
        FieldCase{"PointerNotHex", 12, "000003Ex", &DecodedFields::DigitLoad, "H.ERROR (DEC: 0)"},
        FieldCase{"UnloadPointer", 12, "000003E5", &DecodedFields::DigitUnload, "H.11111 (DEC: 31)"},
        FieldCase{"DigitA", 13, "0000000A", &DecodedFields::DigsDialed, "0"},
        FieldCase{"ZeroNibblesSkipped", 13, "00001020", &DecodedFields::DigsDialed, "21"},
        FieldCase{"LowerCaseDigits", 13, "0000b1a3", &DecodedFields::DigsDialed, "3a1b"},
        FieldCase{"AllZeroDigits", 13, "00000000", &DecodedFields::DigsDialed, ""},
        FieldCase{"FirstFourIgnored", 13, "99990001", &DecodedFields::DigsDialed, "1"},
        FieldCase{"ShortDigitWord", 13, "123456", &DecodedFields::DigsDialed, "65"},
        FieldCase{"MultiByteDigit", 13, "0000\xc3\xa9" "001", &DecodedFields::DigsDialed, "1\xc3\xa9"}),
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
    EXPECT_EQ(f.DigsDialed, expected);  // 72 digits; word 31 is never read
}

TEST(DecodeText, LeadingSpaceShiftsEveryField) {
    const DecodedFields f = DecodeText(" " + kWorkedExample);
    EXPECT_EQ(f.CallRegister, "");
    EXPECT_EQ(f.Codes.MainPM, "F5");  // word 2 is the call register word, "0008F5B4"
    EXPECT_EQ(f.MainPM, "UNDEFINED");
    EXPECT_EQ(f.CRLink, "0000000C");
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
