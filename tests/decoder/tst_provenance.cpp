// SPDX-License-Identifier: MIT
// Where each field came from: the word, the characters and the characters' text.

#include <gtest/gtest.h>

#include <string>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/provenance.h"
#include "tests/support/Fixture.h"
#include "tests/support/NamedCase.h"
#include "tests/support/WorkedExample.h"

namespace quillmark {
namespace {

DataWords WordsOf(std::string_view text) {
    DataWords words;
    ReadDataWords(text, words);
    return words;
}

std::string SourcesTextOf(std::string_view text, Field field) {
    return SourcesText(field, SourcesOf(WordsOf(text))[IndexOf(field)]);
}

TEST(SourcesOf, WorkedExample) {
    const FieldSources sources = SourcesOf(WordsOf(sample::kWorkedExample));
    for (const FieldRow& row : kFields) {
        nlohmann::json list = nlohmann::json::array();
        for (const Source& s : sources[IndexOf(row.field)])
            list.push_back({{"word", s.word},
                            {"of", OfName(s.of)},
                            {"start", s.start},
                            {"length", s.length},
                            {"text", s.text}});
        EXPECT_EQ(list, sample::FixtureOf(row).at("sources")) << row.key;
    }
}

TEST(SourcesOf, MapsOntoTheJsonForm) {
    const FieldSources sources = SourcesOf(WordsOf("0 0 00001398"));
    ASSERT_EQ(sources[IndexOf(Field::TermType)].size(), 1U);
    const Source& term = sources[IndexOf(Field::TermType)].front();
    EXPECT_EQ(term.word, 3);
    EXPECT_EQ(OfName(term.of), "bits");
    EXPECT_EQ(term.start, 20U);
    EXPECT_EQ(term.length, 5U);
    EXPECT_EQ(term.text, "10011");
    EXPECT_FALSE(term.lastFirst);
    EXPECT_EQ(OfName(sources[IndexOf(Field::MainPM)].front().of), "word");
}

struct SourceCase : support::NamedCase {
    std::string text;
    Field field;
    std::string expected;
};

class SourceTextTest : public testing::TestWithParam<SourceCase> {};

TEST_P(SourceTextTest, Says) {
    const SourceCase& c = GetParam();
    EXPECT_EQ(SourcesTextOf(c.text, c.field), c.expected);
}

const std::string kTwelveWords = "1 2 3 4 5 6 7 8 9 10 11 12";

INSTANTIATE_TEST_SUITE_P(
    Edges, SourceTextTest,
    testing::Values(
        SourceCase{"EmptyInput", "", Field::CallRegister, "word 1 is empty"},
        SourceCase{"EmptyInputTn", "", Field::OrigTN, "word 4 is empty"},
        SourceCase{"EmptyInputBits", "", Field::TermType,
                   "the bit string of word 3 ends before character 20"},
        SourceCase{"EmptyInputDigits", "", Field::DigsDialed,
                   "words 13-30, characters 5-8: no digit"},
        SourceCase{"ShortWord2", "X 0000", Field::MainPM, "word 2 ends before character 5"},
        SourceCase{"SevenCharWord2", "X 0000020", Field::AuxPM, "word 2, character 7: 0"},
        SourceCase{"SixteenBitWord3", "X X 1A48", Field::OrigType,
                   "the bit string of word 3 ends before character 25"},
        SourceCase{"TwoCharWord4", "X X X 21", Field::OrigTN, "word 4, characters 1-2: 21"},
        SourceCase{"LongWord5", "X X X X 000B04220", Field::TermTN, "word 5, characters 6-9: 4220"},
        SourceCase{"LoneZeroQueue", "X X X X X 0", Field::Queue, "word 6, character 1: 0"},
        SourceCase{"MarkupAsTyped", "<b>x</b>", Field::CallRegister,
                   "word 1, characters 1-8: <b>x</b>"},
        SourceCase{"CharactersNotBytes",
                   "X X X \xc3\xa9\xc3\xa9"
                   "21",
                   Field::OrigTN,
                   "word 4, characters 1-4: \xc3\xa9\xc3\xa9"
                   "21"},
        SourceCase{"BrokenByteReplaced", "X X X X X 0\xff", Field::Queue,
                   "word 6, characters 1-2: 0\xef\xbf\xbd"},
        SourceCase{"ErrorInPointerWord", kTwelveWords.substr(0, 24) + "000003Ex", Field::DigitLoad,
                   "word 12, bit characters 29-33: ERROR"},
        SourceCase{"ZeroDigitWordsLeftOut", kTwelveWords + " 00000000 0000000A 00000000 99990010",
                   Field::DigsDialed,
                   "word 14, characters 5-8, read from 8 to 5: 000A\n"
                   "word 16, characters 5-8, read from 8 to 5: 0010"},
        SourceCase{"ShortDigitWord", kTwelveWords + " 123456", Field::DigsDialed,
                   "word 13, characters 5-6, read from 6 to 5: 56"},
        SourceCase{"OneDigitCharacter", kTwelveWords + " 12345", Field::DigsDialed,
                   "word 13, character 5: 5"}),
    [](const auto& info) { return std::string(info.param.name); });

// What a field shows changes exactly when a character inside its source changes. Each hex
// character of a full 30-word dump in turn is replaced by its complement (every bit flips),
// and every field but the dialed digits (whose zero words are left out of the sources) is
// compared before and after.
std::string Dump(const std::array<std::string, kLastWord + 1>& words) {
    std::string dump;
    for (int k = 1; k <= kLastWord; ++k)
        dump += (k > 1 ? " " : "") + words[static_cast<std::size_t>(k)];
    return dump;
}

char Complement(char c) {
    const int value = c <= '9' ? c - '0' : c - 'A' + 10;
    return "FEDCBA9876543210"[value];
}

// The field's own cut characters: its code where it has one, else what it shows.
std::string CutShown(const DecodedFields& fields, const FieldRow& row) {
    return HasCode(row) ? fields.Code(row.field) : fields[row.field];
}

bool Covers(const Source& source, int word, std::size_t hexChar) {
    if (source.word != word || source.length == 0) return false;
    const std::size_t first = source.of == From::Bits ? 4 * hexChar - 3 : hexChar;
    const std::size_t last = source.of == From::Bits ? 4 * hexChar : hexChar;
    return first <= source.start + source.length - 1 && source.start <= last;
}

TEST(SourcesOf, ChangesFollowTheSources) {
    std::array<std::string, kLastWord + 1> words;
    for (int k = 1; k <= kLastWord; ++k)
        words[static_cast<std::size_t>(k)] =
            std::string("0123456789ABCDEF").substr(static_cast<std::size_t>(k % 9), 8);
    const std::string dump = Dump(words);
    const DecodedFields before = DecodeText(dump);
    const FieldSources sources = SourcesOf(WordsOf(dump));
    for (int k = 1; k <= kLastWord; ++k) {
        for (std::size_t c = 1; c <= 8; ++c) {
            auto changed = words;
            char& ch = changed[static_cast<std::size_t>(k)][c - 1];
            ch = Complement(ch);
            const DecodedFields after = DecodeText(Dump(changed));
            for (const FieldRow& row : kFields) {
                if (row.shown == Shown::DialedDigits) continue;
                const Source& source = sources[IndexOf(row.field)].front();
                EXPECT_EQ(CutShown(before, row) != CutShown(after, row), Covers(source, k, c))
                    << row.key << " word " << k << " character " << c;
            }
        }
    }
}

}  // namespace
}  // namespace quillmark
