// SPDX-License-Identifier: MIT
// --skip N: the text as N presses of "Trim Text" leave it, in both modes.

#include <gtest/gtest.h>

#include "tests/cli/DecodeProcess.h"
#include "tests/support/NamedCase.h"

namespace quillmark::cli::test {
namespace {

struct SkipCase : support::NamedCase {
    std::string text;
    unsigned long long presses;
};

const std::vector<SkipCase> kSkips{
    {"NoneSkipped", "BUG123 0000 1111", 0},
    {"OneWord", "BUG123 0000 1111", 1},
    {"TwoWords", "BUG123 0000 1111", 2},
    {"MoreThanTheSpaces", "BUG123 0000 1111", 5},
    {"NoSpaceAtAll", "BUG1230000", 3},
    {"LeadingSpace", " 0000", 1},
    {"RunOfSpacesOnePerPress", "A   B", 2},
    {"OnlyWordThenSpace", "BUG123 ", 1},
    {"LineBreakIsNoSpace", "A\r\nB C", 1},
    {"MalformedByteBeforeTheSpace", "\xE2\x82 0008F5B4 00000102", 1},
    {"MostPressesThereAre", "x y", 18446744073709551615ULL},
    {"AcrossReadBlocks",
     std::string(70000, 'A') + " " + std::string(70000, 'B') + " 0008F5B4 00000102 00001A48", 2},
};

class Skip : public testing::TestWithParam<SkipCase> {};

TEST_P(Skip, MessageDecodedAsAfterTrimText) {
    const Outcome outcome =
        RunDecode({"--skip", std::to_string(GetParam().presses)}, GetParam().text);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, WindowReport(Trimmed(GetParam().text, GetParam().presses)));
}

TEST_P(Skip, EachLineDecodedAsAfterTrimText) {
    // Line breaks inside the text would split it in --lines mode; the case's text is one line
    // only once its line feeds are gone.
    std::string line;
    for (char c : GetParam().text) {
        if (c != '\n') {
            line += c;
        }
    }
    const std::string input = line + "\n" + line + "\r\n";
    const Outcome outcome =
        RunDecode({"--lines", "--skip", std::to_string(GetParam().presses)}, input);
    EXPECT_EQ(outcome.status, 0);
    const std::string one = WindowReport(Trimmed(line, GetParam().presses));
    const std::string two = WindowReport(Trimmed(line + "\r", GetParam().presses));
    EXPECT_EQ(outcome.out, one + "\n" + two);
}

INSTANTIATE_TEST_SUITE_P(Skip, Skip, testing::ValuesIn(kSkips),
                         [](const testing::TestParamInfo<SkipCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace quillmark::cli::test
