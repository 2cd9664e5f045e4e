// SPDX-License-Identifier: MIT
// Messages longer than the window's input box: each is cut where a paste into the box would be
// cut, the cut is told on standard error with input and line, and memory stays small whatever
// the input, also under an address-space limit.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "tests/cli/DecodeProcess.h"
#include "tests/support/NamedCase.h"

namespace quillmark::cli::test {
namespace {

constexpr const char* kWorkedExample =
    "0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 00090020 00000000 00000000 "
    "00000000 000003E5 0000B1A3";

std::string Repeated(const std::string& part, std::size_t count) {
    std::string text;
    for (std::size_t k = 0; k < count; ++k) {
        text += part;
    }
    return text;
}

// The records the window would show: each message trimmed, then pasted into the box.
std::string Records(const std::vector<std::string>& messages, unsigned long long presses) {
    std::string text;
    for (const std::string& message : messages) {
        text += (text.empty() ? "" : "\n") + WindowReport(Pasted(Trimmed(message, presses)));
    }
    return text;
}

struct CutCase : support::NamedCase {
    std::vector<std::string> args;
    std::string input;
    std::vector<std::string> messages;  // the input's messages as given
    unsigned long long presses;
    std::string err;
};

const std::string kLong(70000, 'B');

const std::vector<CutCase> kCutCases{
    {"ExactlyWhatTheBoxHolds", {}, std::string(65536, 'A'), {std::string(65536, 'A')}, 0, ""},
    {"OneCharacterMore",
     {},
     std::string(65537, 'A'),
     {std::string(65537, 'A')},
     0,
     CutMessage("-", 1)},
    {"WordThirtyEndsBeforeTheBoxIsFull",
     {},
     Repeated("1 ", 30) + kLong,
     {Repeated("1 ", 30) + kLong},
     0,
     ""},
    {"CharacterBeyondU+FFFFAtTheEdge",
     {},
     std::string(65535, 'A') + "\xF0\x9F\x98\x80",
     {std::string(65535, 'A') + "\xF0\x9F\x98\x80"},
     0,
     CutMessage("-", 1)},
    {"ThreeByteCharacters",
     {},
     Repeated("\xE2\x82\xAC", 65537),
     {Repeated("\xE2\x82\xAC", 65537)},
     0,
     CutMessage("-", 1)},
    {"BrokenBytes",
     {},
     std::string(65537, '\xFF'),
     {std::string(65537, '\xFF')},
     0,
     CutMessage("-", 1)},
    {"LineOfTheCut", {}, "A\r\nB\n" + kLong, {"A\r\nB\n" + kLong}, 0, CutMessage("-", 3)},
    {"SkippedWordsAreNotInTheBox",
     {"--skip", "1"},
     kLong + " " + kWorkedExample,
     {kLong + " " + kWorkedExample},
     1,
     ""},
    {"SkipThenCut", {"--skip", "1"}, "BUG\n1 " + kLong, {"BUG\n1 " + kLong}, 1, CutMessage("-", 2)},
    {"FewerSpacesThanPresses",
     {"--skip", "3"},
     "BUG\n " + kLong,
     {"BUG\n " + kLong},
     3,
     CutMessage("-", 2)},
    {"LinesEachCutOnItsOwn",
     {"--lines"},
     "A\n" + kLong + "\r\nC\n" + kLong,
     {"A", kLong + "\r", "C", kLong},
     0,
     CutMessage("-", 2) + CutMessage("-", 4)},
    {"LinesWithSkip",
     {"--lines", "--skip", "1"},
     "X " + kLong + "\nY " + kWorkedExample + "\n",
     {"X " + kLong, "Y " + std::string(kWorkedExample)},
     1,
     CutMessage("-", 1)},
};

class Cut : public testing::TestWithParam<CutCase> {};

TEST_P(Cut, DecodedAsTheBoxHoldsItAndTold) {
    const CutCase& c = GetParam();
    const Outcome outcome = RunDecode(c.args, c.input);
    EXPECT_EQ(outcome.out, Records(c.messages, c.presses));
    EXPECT_EQ(outcome.err, c.err);
    EXPECT_EQ(outcome.status, c.err.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Cut, Cut, testing::ValuesIn(kCutCases),
                         [](const testing::TestParamInfo<CutCase>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '+', '_');
                             return name;
                         });

TEST(Cut, CutMessageComesBeforeItsRecordAfterTheOnesBefore) {
    // Standard output and standard error into the same file read in order.
    const std::string both = ScratchFile("both-streams", "");
    const std::string input = ScratchFile("order-in", "A\n" + kLong + "\nC\n");
    FILE* in = std::fopen(input.c_str(), "re");
    FILE* out = std::fopen(both.c_str(), "we");
    const int status =
        WaitStatus(SpawnDecode({"--lines", "--json", input}, fileno(in), fileno(out), fileno(out)));
    std::fclose(in);
    std::fclose(out);
    EXPECT_EQ(status, 1);
    const std::string text = ReadWholeFile(both);
    const std::size_t first = text.find("\"CallRegister\":\"A\"");
    const std::size_t told = text.find(CutMessage(input, 2));
    const std::size_t cut = text.find("\"line\":2");
    const std::size_t last = text.find("\"CallRegister\":\"C\"");
    EXPECT_LT(first, told);
    EXPECT_LT(told, cut);
    EXPECT_LT(cut, last);
    EXPECT_NE(last, std::string::npos);
}

// ---- Standard input named twice ----------------------------------------------------------------

struct TwiceCase : support::NamedCase {
    std::vector<std::string> args;
    std::string input;
    std::vector<std::string> messages;
};

class StandardInputTwice : public testing::TestWithParam<TwiceCase> {};

TEST_P(StandardInputTwice, FirstReadGoesToTheEndSecondFindsItThere) {
    std::vector<std::string> args = GetParam().args;
    std::replace(args.begin(), args.end(), std::string("FILE"), ScratchFile("between", "F"));
    const Outcome outcome = RunDecode(args, GetParam().input);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, Records(GetParam().messages, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Cut, StandardInputTwice,
    testing::Values(
        TwiceCase{"ShortMessage", {"-", "-"}, "A B C", {"A B C", ""}},
        // Word 30 ends long before the input: the second read still does not start there.
        TwiceCase{"MoreThanThirtyWords", {"-", "-"}, Repeated("1 ", 40), {Repeated("1 ", 40), ""}},
        TwiceCase{"WithAFileBetween", {"-", "FILE", "-"}, "A B", {"A B", "F", ""}},
        TwiceCase{"Lines", {"--lines", "-", "-"}, "A\nB\n", {"A", "B"}}),
    [](const testing::TestParamInfo<TwiceCase>& info) { return info.param.name; });

// ---- Memory
// --------------------------------------------------------------------------------------

// A file of one line of NUL bytes that takes no disk space. Its 300 MB as one word once took
// five times as much memory (the word and its bit string), far above the limit used below.
std::string SparseLine(const std::string& name) {
    const std::string path = ScratchFile(name, "");
    std::filesystem::resize_file(path, 300 * 1000 * 1000);
    return path;
}

struct LimitCase : support::NamedCase {
    std::vector<std::string> options;
};

class UnderAMemoryLimit : public testing::TestWithParam<LimitCase> {};

TEST_P(UnderAMemoryLimit, ALineLargerThanTheLimitIsCutNotHeld) {
    static const std::string huge = SparseLine("huge-line");
    std::vector<std::string> args = GetParam().options;
    args.push_back(huge);
    const Outcome outcome = RunDecodeWithMemoryLimit(1000000, args);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, CutMessage(huge, 1));
    EXPECT_FALSE(outcome.out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cut, UnderAMemoryLimit,
    testing::Values(LimitCase{"Report", {}}, LimitCase{"Json", {"--json"}},
                    LimitCase{"Skip", {"--skip", "1"}},
                    LimitCase{"LinesJsonSkip", {"--lines", "--json", "--skip", "1"}}),
    [](const testing::TestParamInfo<LimitCase>& info) { return info.param.name; });

TEST(Cut, RecordsBeforeAndAfterAHugeInputAreKept) {
    const std::string good1 = ScratchFile("good1.txt", kWorkedExample);
    const std::string huge = SparseLine("huge.txt");
    const std::string good2 = ScratchFile("good2.txt", "00001111 22223333");
    const Outcome outcome = RunDecodeWithMemoryLimit(1000000, {"--json", good1, huge, good2});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, CutMessage(huge, 1));
    const std::size_t first = outcome.out.find("\"file\":\"" + good1 + "\"");
    const std::size_t second = outcome.out.find("\"file\":\"" + huge + "\"");
    const std::size_t third = outcome.out.find("\"file\":\"" + good2 + "\"");
    EXPECT_EQ(first, 1U);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_NE(third, std::string::npos);
}

}  // namespace
}  // namespace quillmark::cli::test
