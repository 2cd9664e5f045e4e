// SPDX-License-Identifier: MIT
// Options, help, version and usage errors.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "quillmark/version.h"
#include "tests/cli/DecodeProcess.h"
#include "tests/support/NamedCase.h"

namespace quillmark::cli::test {
namespace {

constexpr const char* kUsageLine =
    "Usage: quillmark-decode [--lines|--log] [--json|--csv] [--explain] [--summary]\n"
    "                        [--skip N] [FILE...]\n"
    "       quillmark-decode --tables [--json]\n";

TEST(CommandLine, VersionComesFromTheVersionRecord) {
    const Outcome outcome = RunDecode({"--version"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, std::string("quillmark-decode ") + version::kString +
                               "\nCopyright (C) 2026 Ashgrove.\nLicense: MIT.\n");
    // The number is the record's own three parts, whatever the release.
    EXPECT_EQ(outcome.out.substr(0, outcome.out.find('\n') + 1),
              "quillmark-decode " + std::to_string(version::kMajor) + "." +
                  std::to_string(version::kMinor) + "." + std::to_string(version::kRevision) +
                  "\n");
    EXPECT_EQ(outcome.err, "");
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find('\n', begin);
        lines.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    return lines;
}

TEST(CommandLine, HelpOpensWithTheUsageLineAndFitsEightyColumns) {
    const Outcome outcome = RunDecode({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    const std::vector<std::string> lines = SplitLines(outcome.out);
    ASSERT_GT(lines.size(), 3U);
    EXPECT_EQ(lines[0] + "\n" + lines[1] + "\n" + lines[2] + "\n",
              kUsageLine);  // the same lines as after a usage error
    EXPECT_EQ(lines[3].rfind("Decodes the call register dump", 0), 0U) << lines[3];
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 80U) << line;
    }
}

TEST(CommandLine, HelpListsOptionsAlignedAndTheExitStatuses) {
    const std::vector<std::string> lines = SplitLines(RunDecode({"--help"}).out);
    // Each option's text starts in the same column.
    std::size_t column = 0;
    for (const char* option : {"--lines", "--log", "--json", "--csv", "--explain", "--summary",
                               "--tables", "--skip N", "-h, --help", "--version", "FILE"}) {
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.rfind(std::string("  ") + option + "  ", 0) == 0;
        });
        ASSERT_NE(line, lines.end()) << option;
        const std::size_t text = line->find_first_not_of(' ', 2 + std::string(option).size());
        if (column == 0) {
            column = text;
        }
        EXPECT_EQ(text, column) << option;
    }
    const auto status = std::find(lines.begin(), lines.end(), "Exit status:");
    ASSERT_NE(status, lines.end());
    for (const char* code : {"  0  ", "  1  ", "  2  "}) {
        EXPECT_NE(std::find_if(status, lines.end(),
                               [&](const std::string& l) { return l.rfind(code, 0) == 0; }),
                  lines.end())
            << code;
    }
}

struct UsageErrorCase : support::NamedCase {
    std::vector<std::string> args;
    const char* firstLine;
};

class UsageErrors : public testing::TestWithParam<UsageErrorCase> {};

TEST_P(UsageErrors, PrintUsageAndExitTwo) {
    const Outcome outcome = RunDecode(GetParam().args, "0008F5B4 00000102");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, std::string(GetParam().firstLine) + "\n" + kUsageLine +
                               "Try 'quillmark-decode --help' for more information.\n");
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, UsageErrors,
    testing::Values(
        UsageErrorCase{"UnknownLongOption",
                       {"--no-sandbox"},
                       "quillmark-decode: The following argument was not expected: --no-sandbox"},
        UsageErrorCase{"UnknownShortOption",
                       {"-x"},
                       "quillmark-decode: The following argument was not expected: -x"},
        UsageErrorCase{"ToolkitStyleOption",
                       {"-platform", "offscreen"},
                       "quillmark-decode: The following argument was not expected: -platform"},
        UsageErrorCase{
            "SkipWithoutCount", {"--skip"}, "quillmark-decode: --skip: 1 required N missing"},
        UsageErrorCase{
            "SkipNotANumber",
            {"--skip", "abc"},
            "quillmark-decode: --skip: N must be a whole number of words, 0 or more: abc"},
        UsageErrorCase{
            "SkipNegative",
            {"--skip", "-1"},
            "quillmark-decode: --skip: N must be a whole number of words, 0 or more: -1"},
        UsageErrorCase{
            "SkipFraction",
            {"--skip=1.5"},
            "quillmark-decode: --skip: N must be a whole number of words, 0 or more: 1.5"},
        UsageErrorCase{
            "SkipHexadecimal",
            {"--skip", "0x10"},
            "quillmark-decode: --skip: N must be a whole number of words, 0 or more: 0x10"},
        UsageErrorCase{"SkipTooLarge",
                       {"--skip", "18446744073709551616"},
                       "quillmark-decode: --skip: N is too large, at most 18446744073709551615: "
                       "18446744073709551616"},
        UsageErrorCase{"SkipTwentyDigits",
                       {"--skip", "99999999999999999999"},
                       "quillmark-decode: --skip: N is too large, at most 18446744073709551615: "
                       "99999999999999999999"},
        UsageErrorCase{"SkipTooLargeWithSign",
                       {"--skip", "-99999999999999999999"},
                       "quillmark-decode: --skip: N must be a whole number of words, 0 or more: "
                       "-99999999999999999999"},
        UsageErrorCase{"FlagWithValue",
                       {"--lines=0"},
                       "quillmark-decode: lines was given a disallowed flag override"},
        UsageErrorCase{
            "LogAndLines", {"--log", "--lines"}, "quillmark-decode: --lines excludes --log"},
        UsageErrorCase{
            "CsvAndJson", {"--csv", "--json"}, "quillmark-decode: --json excludes --csv"},
        UsageErrorCase{
            "CsvAndExplain", {"--csv", "--explain"}, "quillmark-decode: --csv excludes --explain"},
        UsageErrorCase{
            "SummaryWithoutLog", {"--summary"}, "quillmark-decode: --summary requires --log"},
        UsageErrorCase{
            "LogAndSkip", {"--log", "--skip", "1"}, "quillmark-decode: --log excludes --skip"},
        UsageErrorCase{
            "TablesOfAFile", {"--tables", "x"}, "quillmark-decode: --tables excludes FILE"},
        UsageErrorCase{"SkipTwice",
                       {"--skip", "1", "--skip", "2"},
                       "quillmark-decode: --skip: At Most 1 required but received 2"}),
    [](const testing::TestParamInfo<UsageErrorCase>& info) { return info.param.name; });

TEST(CommandLine, DoubleDashEndsTheOptions) {
    const std::string text = "0008F5B4 00000102";
    const std::string file = ScratchFile("-dash-named", text);
    // A file whose name starts with a dash, after "--", is a file, not an option.
    const Outcome outcome = RunDecode({"--", file}, "");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, WindowReport(text));
}

}  // namespace
}  // namespace quillmark::cli::test
