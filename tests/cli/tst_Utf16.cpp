// SPDX-License-Identifier: MIT
// UTF-8 and UTF-16 into each other (cli/Utf16.h): what the Windows build makes of its command
// line, file names and console text.

#include <gtest/gtest.h>

#include <string>

#include "cli/Utf16.h"
#include "tests/support/NamedCase.h"

namespace quillmark::cli {
namespace {

struct Utf16Case : support::NamedCase {
    std::string utf8;
    std::u16string utf16;
};

class Utf16Both : public testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16Both, EachWayGivesTheOther) {
    EXPECT_EQ(Utf16FromUtf8(GetParam().utf8), GetParam().utf16);
    EXPECT_EQ(Utf8FromUtf16(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Utf16, Utf16Both,
    testing::Values(Utf16Case{"Empty", "", u""}, Utf16Case{"Ascii", "--json", u"--json"},
                    Utf16Case{"FileName", "Bögen–日本 1.txt", u"Bögen–日本 1.txt"},
                    Utf16Case{"BeyondBmp", "😀 𝄞", u"😀 𝄞"},
                    Utf16Case{"Edges",
                              "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf4\x8f\xbf\xbf",
                              u"\u007f\u0080\u07ff\u0800\uffff\U0010FFFF"},
                    Utf16Case{"Nul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)}),
    [](const testing::TestParamInfo<Utf16Case>& info) { return info.param.name; });

class Utf8Broken : public testing::TestWithParam<Utf16Case> {};

TEST_P(Utf8Broken, EachBrokenPieceIsOneReplacement) {
    EXPECT_EQ(Utf16FromUtf8(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Utf16, Utf8Broken,
    testing::Values(Utf16Case{"LoneContinuation", "a\x80z", u"a\uFFFDz"},
                    Utf16Case{"CutShortAtEnd", "a\xe6\x97", u"a\uFFFD"},
                    Utf16Case{"CutShortInside", "\xe6\x97z", u"\uFFFDz"},
                    Utf16Case{"Overlong", "\xc0\xaf", u"\uFFFD\uFFFD"},
                    Utf16Case{"Surrogate", "\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD"},
                    Utf16Case{"BeyondUnicode", "\xf4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                    Utf16Case{"Latin1", "B\xf6gen", u"B\uFFFDgen"}),
    [](const testing::TestParamInfo<Utf16Case>& info) { return info.param.name; });

TEST(Utf16, UnpairedSurrogatesBecomeReplacements) {
    EXPECT_EQ(Utf8FromUtf16(std::u16string(u"a") + char16_t(0xD800) + u"b"),
              "a\xef\xbf\xbd"
              "b");
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xDC00))), "\xef\xbf\xbd");
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xD83D))), "\xef\xbf\xbd");
}

struct PrefixCase : support::NamedCase {
    std::string text;
    std::size_t whole;
};

class WholeCharacters : public testing::TestWithParam<PrefixCase> {};

TEST_P(WholeCharacters, StopsBeforeACharacterCutShort) {
    EXPECT_EQ(WholeCharactersPrefix(GetParam().text), GetParam().whole);
}

INSTANTIATE_TEST_SUITE_P(Utf16, WholeCharacters,
                         testing::Values(PrefixCase{"Empty", "", 0}, PrefixCase{"Whole", "ab日", 5},
                                         PrefixCase{"OneOfThree", "ab\xe6", 2},
                                         PrefixCase{"TwoOfThree", "ab\xe6\x97", 2},
                                         PrefixCase{"ThreeOfFour", "\xf0\x9f\x98", 0},
                                         PrefixCase{"BrokenIsNotWaitedFor", "ab\xe6z", 4},
                                         PrefixCase{"LoneContinuation", "ab\x80", 3},
                                         PrefixCase{"LeadOfAnImpossibleSequence", "ab\xe0\x80", 4}),
                         [](const testing::TestParamInfo<PrefixCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace quillmark::cli
