// SPDX-License-Identifier: MIT
// Characters, not bytes: multi-byte characters stay whole, broken bytes become U+FFFD.

#include <gtest/gtest.h>

#include <string>

#include "decoder/decoder.h"
#include "decoder/utf8.h"
#include "tests/support/NamedCase.h"

namespace quillmark {
namespace {

const std::string kFffd = "\xef\xbf\xbd";

struct Utf8Case : support::NamedCase {
    std::string text;
    std::string word1;
    std::string bits1;
};

class Utf8WordTest : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8WordTest, WordTextAndBits) {
    DataWords words;
    ReadDataWords(GetParam().text, words);
    EXPECT_EQ(words.HexWords[1], GetParam().word1);
    EXPECT_EQ(words.BinWords[1], GetParam().bits1);
    EXPECT_TRUE(utf8::IsValid(words.HexWords[1]));
}

// Replacement counts follow the usual decoders: one U+FFFD per maximal invalid subsequence.
INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8WordTest,
    testing::Values(Utf8Case{"NbspStaysWholeAndEndsNoWord",
                             "1\xc2\xa0"
                             "2",
                             "1\xc2\xa0"
                             "2",
                             "0001ERROR0010"},
                    Utf8Case{"AccentedLetter",
                             "\xc3\x89"
                             "F",
                             "\xc3\x89"
                             "F",
                             "ERROR1111"},
                    Utf8Case{"ThreeByteEuro", "\xe2\x82\xac", "\xe2\x82\xac", "ERROR"},
                    Utf8Case{"FourByteEmoji", "\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80", "ERROR"},
                    Utf8Case{"StrayContinuationBytes", "\x80\xbf", kFffd + kFffd, "ERRORERROR"},
                    Utf8Case{"InvalidLeadBytes", "\xc0\xc1\xf5\xff", kFffd + kFffd + kFffd + kFffd,
                             "ERRORERRORERRORERROR"},
                    Utf8Case{"OverlongSlash", "\xc0\xaf", kFffd + kFffd, "ERRORERROR"},
                    Utf8Case{"OverlongThreeByte", "\xe0\x80\xaf", kFffd + kFffd + kFffd,
                             "ERRORERRORERROR"},
                    Utf8Case{"Surrogate", "\xed\xa0\x80", kFffd + kFffd + kFffd, "ERRORERRORERROR"},
                    Utf8Case{"BeyondU10FFFF", "\xf4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd,
                             "ERRORERRORERRORERROR"},
                    Utf8Case{"TruncatedThenAscii",
                             "\xe2\x82"
                             "A",
                             kFffd + "A", "ERROR1010"},
                    Utf8Case{"TruncatedFourByteThenAscii",
                             "\xf0\x9f\x98"
                             "1",
                             kFffd + "1", "ERROR0001"},
                    Utf8Case{"TruncatedAtEnd", "1\xf0\x9f", "1" + kFffd, "0001ERROR"},
                    Utf8Case{"ReplacementCharacterItself", kFffd, kFffd, "ERROR"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8Words, BrokenSequenceBeforeSpaceStillEndsTheWord) {
    DataWords words;
    ReadDataWords("\xe2\x82 41", words);
    EXPECT_EQ(words.HexWords[1], kFffd);
    EXPECT_EQ(words.HexWords[2], "41");
}

TEST(Utf8Words, PiecesSplitInsideEveryKindOfCharacter) {
    const std::string text = "\xc2\xa0|\xe2\x82\xac|\xf0\x9f\x98\x80|\xe2\x82|\xff";
    DataWords whole;
    ReadDataWords(text, whole);
    for (std::size_t a = 1; a < text.size(); ++a) {
        for (std::size_t b = a + 1; b < text.size(); ++b) {
            DataWords pieces;
            DataWordReader reader(pieces);
            reader.Feed(std::string_view(text).substr(0, a));
            reader.Feed(std::string_view(text).substr(a, b - a));
            reader.Feed(std::string_view(text).substr(b));
            reader.Finish();
            ASSERT_EQ(pieces.HexWords[1], whole.HexWords[1]) << "cuts " << a << ", " << b;
            ASSERT_EQ(pieces.BinWords[1], whole.BinWords[1]) << "cuts " << a << ", " << b;
        }
    }
    EXPECT_EQ(whole.HexWords[1], "\xc2\xa0|\xe2\x82\xac|\xf0\x9f\x98\x80|" + kFffd + "|" + kFffd);
}

TEST(Utf8Words, EmptyPiecesChangeNothing) {
    DataWords words;
    DataWordReader reader(words);
    reader.Feed("\xc3");
    reader.Feed("");
    reader.Feed("\xa9");
    reader.Finish();
    EXPECT_EQ(words.HexWords[1], "\xc3\xa9");
}

TEST(Utf8Text, SanitizedLeavesValidTextAlone) {
    EXPECT_EQ(utf8::Sanitized("A\xc3\xa9"), "A\xc3\xa9");
    EXPECT_EQ(utf8::Sanitized("A\xc3"
                              "B"),
              "A" + kFffd + "B");
    EXPECT_FALSE(utf8::IsValid("\xed\xbf\xbf"));
    EXPECT_TRUE(utf8::IsValid("\xf4\x8f\xbf\xbf"));
}

// UTF-16 both ways: what the Windows build makes of its command line, file names and console
// text, and the places the input box counts in.
struct Utf16Case : support::NamedCase {
    std::string utf8;
    std::u16string utf16;
    enum { Both, ToUtf16, FromUtf16 } way = Both;  // broken input gives U+FFFD one way only
};

class Utf16Text : public testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16Text, EachWayGivesTheOther) {
    const Utf16Case& c = GetParam();
    if (c.way != Utf16Case::FromUtf16) {
        EXPECT_EQ(utf8::ToUtf16(c.utf8), c.utf16);
    }
    if (c.way != Utf16Case::ToUtf16) {
        EXPECT_EQ(utf8::FromUtf16(c.utf16), c.utf8);
    }
}

const std::u16string kHigh(1, char16_t(0xD800)), kLow(1, char16_t(0xDC00));

INSTANTIATE_TEST_SUITE_P(
    Utf16, Utf16Text,
    testing::Values(
        Utf16Case{"Empty", "", u""}, Utf16Case{"Ascii", "--json", u"--json"},
        Utf16Case{"FileName", "Bögen–日本 1.txt", u"Bögen–日本 1.txt"},
        Utf16Case{"BeyondBmp", "😀 𝄞", u"😀 𝄞"},
        Utf16Case{"Edges", "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf4\x8f\xbf\xbf",
                  u"\u007f\u0080\u07ff\u0800\uffff\U0010FFFF"},
        Utf16Case{"Nul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        Utf16Case{"LoneContinuation", "a\x80z", u"a\uFFFDz", Utf16Case::ToUtf16},
        Utf16Case{"CutShortAtEnd", "a\xe6\x97", u"a\uFFFD", Utf16Case::ToUtf16},
        Utf16Case{"CutShortInside", "\xe6\x97z", u"\uFFFDz", Utf16Case::ToUtf16},
        Utf16Case{"Overlong", "\xc0\xaf", u"\uFFFD\uFFFD", Utf16Case::ToUtf16},
        Utf16Case{"Surrogate", "\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD", Utf16Case::ToUtf16},
        Utf16Case{"BeyondUnicode", "\xf4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD",
                  Utf16Case::ToUtf16},
        Utf16Case{"Latin1", "B\xf6gen", u"B\uFFFDgen", Utf16Case::ToUtf16},
        Utf16Case{"UnpairedHigh", "a" + kFffd + "b", u"a" + kHigh + u"b", Utf16Case::FromUtf16},
        Utf16Case{"LowAlone", kFffd, kLow, Utf16Case::FromUtf16},
        Utf16Case{"HighAtEnd", "a" + kFffd, u"a\xD83D", Utf16Case::FromUtf16},
        Utf16Case{"PairReversed", kFffd + kFffd, kLow + kHigh, Utf16Case::FromUtf16}),
    [](const auto& info) { return std::string(info.param.name); });

struct PrefixCase : support::NamedCase {
    std::string text;
    std::size_t whole;
};

class WholeChars : public testing::TestWithParam<PrefixCase> {};

TEST_P(WholeChars, StopsBeforeACharacterCutShort) {
    EXPECT_EQ(utf8::WholeCharsPrefix(GetParam().text), GetParam().whole);
}

INSTANTIATE_TEST_SUITE_P(Utf8, WholeChars,
                         testing::Values(PrefixCase{"Empty", "", 0}, PrefixCase{"Whole", "ab日", 5},
                                         PrefixCase{"OneOfThree", "ab\xe6", 2},
                                         PrefixCase{"TwoOfThree", "ab\xe6\x97", 2},
                                         PrefixCase{"ThreeOfFour", "\xf0\x9f\x98", 0},
                                         PrefixCase{"BrokenIsNotWaitedFor", "ab\xe6z", 4},
                                         PrefixCase{"LoneContinuation", "ab\x80", 3},
                                         PrefixCase{"LeadOfAnImpossibleSequence", "ab\xe0\x80", 4},
                                         PrefixCase{"BeyondUnicodeLead", "ab\xf4\x90", 4}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillmark
