// SPDX-License-Identifier: MIT
// Cutting text into data words and bit strings.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/text_layout.h"
#include "tests/support/NamedCase.h"

namespace quillmark {
namespace {

using Words = std::map<int, std::string>;  // word number -> text; every other slot empty

DataWords Read(std::string_view text) {
    DataWords words;
    ReadDataWords(text, words);
    return words;
}

Words NonEmpty(const WordArray& slots) {
    Words words;
    for (int k = 0; k <= kLastWord; ++k)
        if (!slots[static_cast<std::size_t>(k)].empty())
            words[k] = slots[static_cast<std::size_t>(k)];
    return words;
}

struct WordCase : support::NamedCase {
    std::string text;
    Words hex;
    Words bits;
};

class ReadDataWordsTest : public testing::TestWithParam<WordCase> {};

TEST_P(ReadDataWordsTest, FillsWordsAndBitStrings) {
    const WordCase& c = GetParam();
    const DataWords words = Read(c.text);
    EXPECT_EQ(NonEmpty(words.HexWords), c.hex);
    EXPECT_EQ(NonEmpty(words.BinWords), c.bits);
}

const std::string kBits0008F5B4 = "00000000000010001111010110110100";
const std::string kBits00000102 = "00000000000000000000000100000010";

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadDataWordsTest,
    testing::Values(
        WordCase{"Empty", "", {}, {}},
        WordCase{"TwoWords",
                 "0008F5B4 00000102",
                 {{1, "0008F5B4"}, {2, "00000102"}},
                 {{1, kBits0008F5B4}, {2, kBits00000102}}},
        WordCase{
            "LeadingSpaceEmptiesWordOne", " 0008F5B4", {{2, "0008F5B4"}}, {{2, kBits0008F5B4}}},
        WordCase{
            "DoubleSpaceLeavesEmptyWord", "A  B", {{1, "A"}, {3, "B"}}, {{1, "1010"}, {3, "1011"}}},
        WordCase{"CrLfInsideJoinsWord", "12\r\n34", {{1, "1234"}}, {{1, "0001001000110100"}}},
        WordCase{"CrLfAfterSpace",
                 "12 \r\n34",
                 {{1, "12"}, {2, "34"}},
                 {{1, "00010010"}, {2, "00110100"}}},
        WordCase{"CrLfAtEndAddsNothing", "12\r\n", {{1, "12"}}, {{1, "00010010"}}},
        WordCase{"LoneLfAndCr", "1\n2\r3", {{1, "123"}}, {{1, "000100100011"}}},
        WordCase{"LowerCaseKeptWithError", "0a", {{1, "0a"}}, {{1, "0000ERROR"}}},
        WordCase{"TabBelongsToWord", "1\t2", {{1, "1\t2"}}, {{1, "0001ERROR0010"}}},
        WordCase{"TrailingSpaceOpensEmptyWord", "F ", {{1, "F"}}, {{1, "1111"}}},
        WordCase{"OnlyLineBreaks", "\r\n\r\n", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

std::string NumberedWords(int count) {
    std::string text;
    for (int k = 1; k <= count; ++k) text += (k > 1 ? " " : "") + std::to_string(k);
    return text;
}

TEST(ReadDataWords, ThirtyWordsFillEverySlot) {
    const DataWords words = Read(NumberedWords(30));
    EXPECT_EQ(words.HexWords[0], "");
    EXPECT_EQ(words.HexWords[1], "1");
    EXPECT_EQ(words.HexWords[30], "30");
    EXPECT_EQ(words.BinWords[30], "00110000");
}

TEST(ReadDataWords, WordsBeyondThirtyAreDropped) {
    EXPECT_EQ(Read(NumberedWords(31)).HexWords, Read(NumberedWords(30)).HexWords);
    EXPECT_EQ(Read(NumberedWords(500) + " \xff").BinWords, Read(NumberedWords(30)).BinWords);
}

TEST(ReadDataWords, AppendsToWhatTheCallerLeftInTheSlots) {
    DataWords words;
    words.HexWords[1] = "X";
    ReadDataWords("1", words);
    EXPECT_EQ(words.HexWords[1], "X1");
}

// ---- Where the words stand -----------------------------------------------------------------

struct PlaceCase : support::NamedCase {
    std::string text;
    int word;
    std::vector<WordRun> runs;  // byte, bytes, start, length, line, column
    std::size_t start, spaceBefore, spaceAfter;
    WordFault fault;
    bool joinedByBreak;
};

class TextLayoutTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(TextLayoutTest, PlacesAWord) {
    const PlaceCase& c = GetParam();
    TextLayout layout;
    layout.Read(c.text);
    const WordPlace& place = layout.Place(c.word);
    EXPECT_TRUE(place.present);
    EXPECT_EQ(place.runs, c.runs);
    EXPECT_EQ(place.start, c.start);
    EXPECT_EQ(place.spaceBefore, c.spaceBefore);
    EXPECT_EQ(place.spaceAfter, c.spaceAfter);
    EXPECT_EQ(place.fault.index, c.fault.index);
    EXPECT_EQ(place.fault.character, c.fault.character);
    EXPECT_EQ(place.joinedByBreak, c.joinedByBreak);
}

constexpr std::size_t kNo = kNoPlace;
INSTANTIATE_TEST_SUITE_P(
    Words, TextLayoutTest,
    testing::Values(
        PlaceCase{"PlainWord", "0008F5B4 00000102", 2, {{9, 8, 9, 8, 0, 9}}, 9, 8, kNo, {}, false},
        PlaceCase{"EmptyBetweenTwoSpaces", "0008F5B4  ", 2, {}, 9, 8, 9, {}, false},
        PlaceCase{"EmptyAtTheEnd", "0008F5B4  ", 3, {}, 10, 9, kNo, {}, false},
        PlaceCase{"SplitByCrLf",
                  "12\r\n34 5",
                  1,
                  {{0, 2, 0, 2, 0, 0}, {4, 2, 4, 2, 1, 0}},
                  0,
                  kNo,
                  6,
                  {},
                  true},
        PlaceCase{
            "OnTheSecondLine", "1\n2 5a", 2, {{4, 2, 4, 2, 1, 2}}, 4, 3, kNo, {2, 'a'}, false},
        PlaceCase{"BytesAndCharactersDiffer",
                  "A\xe2\x82\xac B",
                  2,
                  {{5, 1, 3, 1, 0, 3}},
                  3,
                  2,
                  kNo,
                  {},
                  false},
        PlaceCase{"BrokenSequence",
                  "\xff\xfe"
                  "1",
                  1,
                  {{0, 3, 0, 3, 0, 0}},
                  0,
                  kNo,
                  kNo,
                  {1, 0xFFFD},
                  false}),
    [](const auto& info) { return info.param.name; });

TEST(TextLayout, StopsAtTheSpaceThatEndsWordThirty) {
    TextLayout layout;
    const std::string text = std::string(31, ' ') + "X";
    layout.Read(text);
    EXPECT_EQ(layout.WordCount(), 30);
    EXPECT_EQ(layout.BytesRead(), 30U);
    EXPECT_EQ(layout.Place(30).spaceAfter, 29U);
    EXPECT_EQ(layout.Length(), 29U);
}

// ---- Streaming reader -------------------------------------------------------------------

TEST(DataWordReader, PiecesGiveTheSameWordsAsOneText) {
    const std::string text =
        "0008F5B4 0000\r\n0102 \xc2\xa0"
        "1\xe2\x82\xac 0a  F";
    const DataWords whole = Read(text);
    for (std::size_t cut = 1; cut < text.size(); ++cut) {
        DataWords pieces;
        DataWordReader reader(pieces);
        EXPECT_TRUE(reader.Feed(std::string_view(text).substr(0, cut)));
        EXPECT_TRUE(reader.Feed(std::string_view(text).substr(cut)));
        reader.Finish();
        EXPECT_EQ(pieces.HexWords, whole.HexWords) << "cut at byte " << cut;
        EXPECT_EQ(pieces.BinWords, whole.BinWords) << "cut at byte " << cut;
    }
}

TEST(DataWordReader, ByteByByteJoinsAFourByteCharacter) {
    DataWords words;
    DataWordReader reader(words);
    for (char byte : std::string("\xf0\x9f\x98\x80"))
        EXPECT_TRUE(reader.Feed(std::string(1, byte)));
    reader.Finish();
    EXPECT_EQ(words.HexWords[1], "\xf0\x9f\x98\x80");
    EXPECT_EQ(words.BinWords[1], "ERROR");
}

TEST(DataWordReader, FeedReportsCompletionAfterWordThirty) {
    DataWords words;
    DataWordReader reader(words);
    EXPECT_TRUE(reader.Feed(NumberedWords(30)));
    EXPECT_FALSE(reader.Complete());
    EXPECT_FALSE(reader.Feed(" "));
    EXPECT_TRUE(reader.Complete());
    EXPECT_FALSE(reader.Feed("more"));
    reader.Finish();
    EXPECT_EQ(words.HexWords[30], "30");
}

TEST(DataWordReader, UnfinishedCharacterAtTheEndBecomesOneReplacement) {
    DataWords words;
    DataWordReader reader(words);
    reader.Feed("1\xe2\x82");
    reader.Finish();
    EXPECT_EQ(words.HexWords[1], "1\xef\xbf\xbd");
    EXPECT_EQ(words.BinWords[1], "0001ERROR");
}

}  // namespace
}  // namespace quillmark
