// SPDX-License-Identifier: MIT
// Characters, not bytes: multi-byte characters stay whole, broken bytes become U+FFFD.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "decoder/decoder.h"
#include "decoder/short_copy.h"
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

// The eight-bytes-at-a-time checks and copies, at every length and every position of the
// first byte that is not ASCII.
TEST(AsciiPrefix, StopsAtTheFirstByteThatIsNotAscii) {
    for (std::size_t size = 0; size <= 40; ++size) {
        const std::string ascii(size, 'A');
        EXPECT_EQ(bytes::AsciiPrefix(ascii), size);
        EXPECT_TRUE(bytes::IsAscii(ascii));
        for (std::size_t at = 0; at < size; ++at) {
            std::string text = ascii;
            text[at] = '\x80';
            EXPECT_EQ(bytes::AsciiPrefix(text), at) << size << " " << at;
            EXPECT_FALSE(bytes::IsAscii(text)) << size << " " << at;
        }
    }
}

TEST(CopyText, EveryLengthWholeAndNothingBeyond) {
    std::string source;
    for (int k = 0; k < 40; ++k) source += static_cast<char>('a' + k % 26);
    for (std::size_t size = 0; size <= source.size(); ++size) {
        std::string target(48, '#');
        const char* end = CopyText(target.data() + 2, std::string_view(source).substr(
                                                          3, std::min(size, source.size() - 3)));
        const std::size_t copied = std::min(size, source.size() - 3);
        EXPECT_EQ(end, target.data() + 2 + copied);
        EXPECT_EQ(target, "##" + source.substr(3, copied) + std::string(46 - copied, '#')) << size;
    }
}

}  // namespace
}  // namespace quillmark
