// SPDX-License-Identifier: MIT
// The message cutter on its own: what it keeps of a message, whether it cut it and on which
// line, the same whether the message comes whole or one byte at a time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "cli/MessageCutter.h"
#include "tests/support/NamedCase.h"

namespace quillmark::cli {
namespace {

struct CutterCase : support::NamedCase {
    std::string text;
    std::uint64_t skip;
    std::size_t limit;  // characters the box holds
    std::string kept;
    bool cut;
    std::uint64_t lineFeedsBeforeCut;
};

std::string Repeated(const std::string& part, int count) {
    std::string text;
    for (int k = 0; k < count; ++k) {
        text += part;
    }
    return text;
}

const std::vector<CutterCase> kCutterCases{
    {"FitsExactly", "ABCD", 0, 4, "ABCD", false, 0},
    {"OneCharacterOver", "ABCDE", 0, 4, "ABCD", true, 0},
    {"CharacterBeyondU+FFFFCountsTwo", "AB\xF0\x9F\x98\x80", 0, 3, "AB", true, 0},
    {"CharacterBeyondU+FFFFFits", "AB\xF0\x9F\x98\x80", 0, 4, "AB\xF0\x9F\x98\x80", false, 0},
    {"ThreeByteCharacterCountsOne", "\xE2\x82\xAC\xE2\x82\xAC", 0, 2, "\xE2\x82\xAC\xE2\x82\xAC",
     false, 0},
    {"BrokenSequenceCountsOne",
     "A\xE2\x82"
     "B",
     0, 2, "A\xE2\x82", true, 0},
    {"UnfinishedCharacterAtTheEndCountsOne", "A\xF0\x9F", 0, 2, "A\xF0\x9F", false, 0},
    {"UnfinishedCharacterAtTheEndWithoutRoom", "AB\xF0\x9F", 0, 2, "AB", true, 0},
    {"WordThirtyEndsWithinTheBox", Repeated("1 ", 30) + "XYZ", 0, 60, Repeated("1 ", 30), false, 0},
    {"SpaceAfterAFullBoxIsCut", "AB CD", 0, 2, "AB", true, 0},
    {"LineBreaksAreCharacters", "A\nB\r\nCDEF", 0, 6, "A\nB\r\nC", true, 2},
    {"SkippedWordsAreNotCounted", "XXXXXXXX ABC", 1, 3, "ABC", false, 0},
    {"SkippedLineFeedsPlaceTheCut", "A\nB CDEFG", 1, 3, "CDE", true, 1},
    {"FewerSpacesThanPressesKeepTheLastWord", "A\nB CD\nEFG", 3, 4, "CD\nE", true, 2},
    {"FewerSpacesThanPressesWithinTheBox", "AB CD", 5, 5, "CD", false, 0},
    {"NoSpaceAtAllWithPresses", "ABCDEF", 2, 4, "ABCD", true, 0},
    {"EmptyMessage", "", 3, 4, "", false, 0},
};

class Cutter : public testing::TestWithParam<CutterCase> {};

TEST_P(Cutter, KeepsWhatTheBoxHolds) {
    const CutterCase& c = GetParam();
    MessageCutter whole(c.skip, c.limit);
    std::string wholeKept;
    whole.Take(c.text, wholeKept);
    whole.Finish(wholeKept);
    EXPECT_EQ(wholeKept, c.kept);
    EXPECT_EQ(whole.WasCut(), c.cut);
    if (c.cut) {
        EXPECT_EQ(whole.LineFeedsBeforeCut(), c.lineFeedsBeforeCut);
    }

    // Byte by byte, after a first message on the same cutter, gives the same.
    MessageCutter bytes(c.skip, c.limit);
    std::string ignored;
    bytes.Take("1 2 3 4 5 6 7 8", ignored);
    bytes.Finish(ignored);
    bytes.Restart();
    std::string bytesKept;
    for (char byte : c.text) {
        if (!bytes.Take(std::string_view(&byte, 1), bytesKept)) {
            break;
        }
    }
    bytes.Finish(bytesKept);
    EXPECT_EQ(bytesKept, c.kept);
    EXPECT_EQ(bytes.WasCut(), c.cut);
    if (c.cut) {
        EXPECT_EQ(bytes.LineFeedsBeforeCut(), c.lineFeedsBeforeCut);
    }
}

INSTANTIATE_TEST_SUITE_P(Cutter, Cutter, testing::ValuesIn(kCutterCases),
                         [](const testing::TestParamInfo<CutterCase>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '+', '_');
                             return name;
                         });

// The space that ends word 30 at every position within and across the runs of bytes the cutter
// looks at together, with empty words, a non-ASCII character and a skipped word before it, the
// message whole or in two pieces split anywhere: what is kept ends exactly at that space.
TEST(CutterSpaces, WordThirtyEndsWhereverItsSpaceFalls) {
    const std::vector<std::string> middles{"1 ", " ", "\xC3\xA9 ", "ABCDEFG "};
    for (std::size_t firstLength = 0; firstLength < 520; firstLength += 1) {
        for (const std::string& middle : middles) {
            const std::string first = std::string(firstLength, 'A') + " ";
            const std::string kept = first + Repeated(middle, 29);
            const std::string text = "S " + kept + "XYZ 1 2 3";
            MessageCutter whole(1, 100000);
            std::string wholeKept;
            EXPECT_FALSE(whole.Take(text, wholeKept));
            whole.Finish(wholeKept);
            ASSERT_EQ(wholeKept, kept) << firstLength << " " << middle;
            for (std::size_t split = firstLength; split < text.size(); split += 37) {
                MessageCutter pieces(1, 100000);
                std::string piecesKept;
                if (pieces.Take(std::string_view(text).substr(0, split), piecesKept)) {
                    pieces.Take(std::string_view(text).substr(split), piecesKept);
                }
                pieces.Finish(piecesKept);
                ASSERT_EQ(piecesKept, kept) << firstLength << " " << middle << " " << split;
            }
        }
    }
}

}  // namespace
}  // namespace quillmark::cli
