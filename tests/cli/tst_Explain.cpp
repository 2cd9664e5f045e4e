// SPDX-License-Identifier: MIT
// --explain: every field tells which word and which characters it came from, below its report
// line and in the JSON "sources" object, for the text as decoded (after --skip and the cut).

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <random>
#include <sstream>

#include "decoder/decoder.h"
#include "tests/cli/DecodeProcess.h"
#include "tests/support/Fixture.h"
#include "tests/support/NamedCase.h"
#include "tests/support/ReferenceDecoder.h"
#include "tests/support/WorkedExample.h"

namespace quillmark::cli::test {
namespace {

using nlohmann::json;

// The worked example's report with its sources, worked out by hand from its words: word 3
// 00001A48 is 0000 0000 0000 0000 0001 1010 0100 1000, word 12 000003E5 ends in 0011 1110 0101.
constexpr std::string_view kWorkedExampleExplained =
    "Call Register: 0008F5B4\n"
    "    word 1, characters 1-8: 0008F5B4\n"
    "Main PM: READY\n"
    "    word 2, characters 5-6: 01\n"
    "AUX PM: DISA_READY\n"
    "    word 2, characters 7-8: 02\n"
    "Orig Type: XTD_UNIT\n"
    "    word 3, bit characters 25-29: 01001\n"
    "Term Type: UNKNOWN\n"
    "    word 3, bit characters 20-24: 11010\n"
    "Orig TN: Use LD 32 to Convert TN H.0421\n"
    "    word 4, characters 5-8: 0421\n"
    "Term TN: Use LD 32 to Convert TN H.0422\n"
    "    word 5, characters 5-8: 0422\n"
    "Queue: QU_IDLE\n"
    "    word 6, characters 7-8: 0C\n"
    "CR Fwd Link: 00090010\n"
    "    word 7, characters 1-8: 00090010\n"
    "CR Bak Link: 00090020\n"
    "    word 8, characters 1-8: 00090020\n"
    "Aux CR: 00000000\n"
    "    word 9, characters 1-8: 00000000\n"
    "CR Dialed: 00000000\n"
    "    word 11, characters 1-8: 00000000\n"
    "Digit Load: H.00101 (DEC: 5)\n"
    "    word 12, bit characters 28-32: 00101\n"
    "Digit Unload: H.11111 (DEC: 31)\n"
    "    word 12, bit characters 23-27: 11111\n"
    "Digits Dialed: 301B\n"
    "    word 13, characters 5-8, read from 8 to 5: B1A3\n";

// The worked example's sources, from the fixture.
json WorkedExampleSources() {
    json sources = json::object();
    for (const FieldRow& row : kFields)
        sources[std::string(row.key)] = sample::FixtureOf(row).at("sources");
    return sources;
}

// Each field has its list, one source but for Digits Dialed, and every source holds the
// characters that its word (or bit string) has at its place, as the reference reader reads the
// text.
testing::AssertionResult SourcesReadTheText(const json& sources, std::string_view text) {
    const DataWords words = reference::ReadWords(text);
    for (const FieldRow& row : kFields) {
        const json& list = sources.at(std::string(row.key));
        if (row.field != Field::DigsDialed && list.size() != 1)
            return testing::AssertionFailure() << row.key << ": " << list.dump();
        for (const json& entry : list) {
            const std::size_t word = entry.at("word");
            const std::vector<std::string> chars = reference::Characters(
                entry.at("of") == "bits" ? words.BinWords.at(word) : words.HexWords.at(word));
            const std::size_t first = entry.at("start").get<std::size_t>() - 1;
            std::string expected;
            for (std::size_t i = first; i < first + entry.at("length").get<std::size_t>(); ++i)
                expected += i < chars.size() ? chars[i] : "?";
            if (entry.at("text") != expected)
                return testing::AssertionFailure() << row.key << ": " << entry.dump();
        }
    }
    return testing::AssertionSuccess();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Twelve words before the dialed digits.
const std::string kTwelveWords =
    "0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 "
    "00090020 00000000 00000000 00000000 000003E5 ";

struct ExplainTextCase : support::NamedCase {
    std::vector<std::string> args;
    std::string input;
    std::vector<std::string> runs;  // each stands in the output as one run of whole lines
};

const std::vector<ExplainTextCase> kTextCases{
    {"ShortAndEmptyWords",
     {"--explain"},
     "1 AB 1 12",
     {"Call Register: 1\n    word 1, character 1: 1\n    note: word 1 has 1 character, not 8\n"
      "Main PM: UNDEFINED\n    word 2 ends before character 5\n    note: word 2 has 2 characters, "
      "not 8\n",
      "Orig Type: UNKNOWN\n    the bit string of word 3 ends before character 25\n"
      "    note: word 3 has 1 character, not 8\n",
      "Orig TN: Use LD 32 to Convert TN H.12\n    word 4, characters 1-2: 12\n"
      "    note: word 4 has 2 characters, not 8\n",
      "Term TN: Use LD 32 to Convert TN H.\n    word 5 is empty\n",
      "Digit Load: H. (DEC: 0)\n    the bit string of word 12 is empty\n",
      "Digits Dialed: \n    words 13-30, characters 5-8: no digit\n"}},
    {"DigitsOverSeveralWords",
     {"--explain"},
     kTwelveWords + "0000B1A3 00000000 00001230 FFFF0004",
     {"Digits Dialed: 301B3214\n"
      "    word 13, characters 5-8, read from 8 to 5: B1A3\n"
      "    word 15, characters 5-8, read from 8 to 5: 1230\n"
      "    word 16, characters 5-8, read from 8 to 5: 0004\n"}},
    // The four pastes that decode wrongly without a hint: the note says why, below the source.
    {"LowerCase",
     {"--explain"},
     "0008f5b4 00000102 00001a48",
     {"Call Register: 0008f5b4\n    word 1, characters 1-8: 0008f5b4\n"
      "    note: word 1 is in lower case: only upper-case digits are read\nMain PM: READY\n"
      "    word 2, characters 5-6: 01\nAUX PM:",
      "Orig Type: UNKNOWN\n    word 3, bit characters 25-29: R0100\n"
      "    note: word 3 is in lower case: only upper-case digits are read\n"}},
    {"WrappedOverTwoLines",
     {"--explain"},
     kTwelveWords.substr(0, 53) + "\r\n" + kTwelveWords.substr(54),
     {"Queue: QU_RPE\n    word 6, characters 15-16: 10\n"
      "    note: word 6 has 16 characters: two words joined by a line break?\nCR Fwd Link:"}},
    {"LeadingSpace",
     {"--explain"},
     " 0008F5B4 00000102",
     {"Call Register: \n    word 1 is empty\n    note: word 1 is empty: the text starts with a "
      "space\n"
      "Main PM: UNDEFINED\n    word 2, characters 5-6: F5\nAUX PM:"}},
    {"TabsBetweenWords",
     {"--explain"},
     "0008F5B4\t00000102\t00001A48",
     {"Call Register: 0008F5B4\t00000102\t00001A48\n"
      "    word 1, characters 1-26: 0008F5B4\t00000102\t00001A48\n"
      "    note: word 1 holds 2 tabs: only spaces separate words\nMain PM: UNDEFINED\n"
      "    word 2 ends before character 5\n"}},
    {"NoteOnEveryDigitWordThatGaveADigit",
     {"--explain"},
     kTwelveWords + "0000b1a3 0000001",
     {"Digits Dialed: 3a1b1\n"
      "    word 13, characters 5-8, read from 8 to 5: b1a3\n"
      "    note: word 13 is in lower case: only upper-case digits are read\n"
      "    word 14, characters 5-7, read from 7 to 5: 001\n"
      "    note: word 14 has 7 characters, not 8\n"}},
    {"LinesAndSkip",
     {"--explain", "--lines", "--skip", "1"},
     "X 0008F5B4 00000102\nY 12\n",
     {"Call Register: 0008F5B4\n    word 1, characters 1-8: 0008F5B4\nMain PM: READY\n"
      "    word 2, characters 5-6: 01\n",
      "no digit\n\nCall Register: 12\n    word 1, characters 1-2: 12\n"}},
};

class ExplainText : public testing::TestWithParam<ExplainTextCase> {};

TEST_P(ExplainText, SourceLinesFollowTheirReportLines) {
    const Outcome outcome = RunDecode(GetParam().args, GetParam().input);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    for (const std::string& run : GetParam().runs) {
        EXPECT_NE(outcome.out.find(run), std::string::npos) << run << "\nin:\n" << outcome.out;
    }
}

INSTANTIATE_TEST_SUITE_P(Explain, ExplainText, testing::ValuesIn(kTextCases),
                         [](const testing::TestParamInfo<ExplainTextCase>& info) {
                             return info.param.name;
                         });

TEST(Explain, WorkedExampleReport) {
    const Outcome outcome = RunDecode({"--explain"}, sample::kWorkedExample);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, kWorkedExampleExplained);
}

TEST(Explain, WorkedExampleJsonIsThePlainRecordWithSources) {
    const Outcome plain = RunDecode({"--json"}, sample::kWorkedExample);
    const Outcome explained = RunDecode({"--json", "--explain"}, sample::kWorkedExample);
    EXPECT_EQ(explained.status, 0);
    // The worked example has no note (its report, checked whole above, has none either).
    EXPECT_EQ(explained.out.find("\"note\""), std::string::npos);
    json record = json::parse(explained.out);
    EXPECT_EQ(record.at("sources"), WorkedExampleSources());
    record.erase("sources");
    EXPECT_EQ(record, json::parse(plain.out));
}

// The notes in JSON, and the same pastes without --explain: the window's report and record,
// not a word of notes.
TEST(Explain, FaultyPastesInJsonAndWithoutExplain) {
    const std::string wrapped = kTwelveWords.substr(0, 53) + "\r\n" + kTwelveWords.substr(54);
    const std::vector<std::pair<std::string, std::pair<std::string, std::string>>> pastes{
        {"0008f5b4 00000102",
         {"CallRegister", "word 1 is in lower case: only upper-case digits are read"}},
        {wrapped, {"Queue", "word 6 has 16 characters: two words joined by a line break?"}},
        {" 0008F5B4", {"CallRegister", "word 1 is empty: the text starts with a space"}},
        {"0008F5B4\t00000102", {"CallRegister", "word 1 holds a tab: only spaces separate words"}},
        {"0008F5B4 0000G102", {"MainPM", "word 2, character 5 is \"G\": not a hexadecimal digit"}},
    };
    for (const auto& [text, expected] : pastes) {
        const Outcome explained = RunDecode({"--json", "--explain"}, text);
        const json record = json::parse(explained.out);
        EXPECT_EQ(record.at("sources").at(expected.first).at(0).at("note"), expected.second)
            << text;
        EXPECT_TRUE(SourcesReadTheText(record.at("sources"), text)) << text;

        const Outcome plain = RunDecode({}, text);
        EXPECT_EQ(plain.out, WindowReport(text)) << text;
        const Outcome plainJson = RunDecode({"--json"}, text);
        EXPECT_EQ(plainJson.out.find("note"), std::string::npos) << text;
    }
}

TEST(Explain, SeveralFilesEachWithItsSources) {
    const std::string first = ScratchFile("explain-first", "AAAA");
    const std::string second = ScratchFile("explain-second", "B\"\\B");
    const Outcome report = RunDecode({"--explain", first, second});
    EXPECT_EQ(report.status, 0);
    EXPECT_NE(
        report.out.find("no digit\n\nCall Register: B\"\\B\n    word 1, characters 1-4: B\"\\B\n"),
        std::string::npos)
        << report.out;

    const Outcome outcome = RunDecode({"--explain", "--json", first, second});
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_TRUE(SourcesReadTheText(json::parse(lines[0]).at("sources"), "AAAA"));
    EXPECT_TRUE(SourcesReadTheText(json::parse(lines[1]).at("sources"), "B\"\\B"));
    EXPECT_EQ(json::parse(lines[1]).at("sources").at("CallRegister").at(0).at("text"), "B\"\\B");
}

TEST(Explain, JsonLinesWithSkipGiveTheSourcesOfTheTrimmedText) {
    const std::string input = "X 0008F5B4 00000102\n\nY Z 00001A48\n";
    const Outcome outcome = RunDecode({"--lines", "--json", "--explain", "--skip", "1"}, input);
    EXPECT_EQ(outcome.status, 0);
    const std::vector<std::string> lines = Lines(outcome.out);
    const std::vector<std::string> texts{"X 0008F5B4 00000102", "", "Y Z 00001A48"};
    ASSERT_EQ(lines.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const json record = json::parse(lines[i]);
        EXPECT_EQ(record.at("line"), i + 1);
        EXPECT_TRUE(SourcesReadTheText(record.at("sources"), Trimmed(texts[i], 1))) << texts[i];
    }
}

TEST(Explain, SourcesAreOfTheTextAsCut) {
    const std::string text = std::string(70000, 'A') + " 00000102";
    const Outcome outcome = RunDecode({"--json", "--explain"}, text);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, CutMessage("-", 1));
    const json sources = json::parse(outcome.out).at("sources");
    EXPECT_TRUE(SourcesReadTheText(sources, Pasted(text)));
    EXPECT_EQ(sources.at("CallRegister").at(0).at("length"), kBoxCharacters);
    EXPECT_EQ(sources.at("MainPM").at(0).at("length"), 0);  // word 2 lies beyond the cut
}

// Random dumps with awkward characters: each record's sources are the decoder's own, and the
// record before "sources" is byte for byte the record written without --explain.
TEST(Explain, RandomTextsMatchTheDecoderAndThePlainRecord) {
    const std::vector<std::string> pieces{"0",
                                          "1",
                                          "3",
                                          "5",
                                          "9",
                                          "A",
                                          "B",
                                          "C",
                                          "F",
                                          "a",
                                          "G",
                                          "\"",
                                          "\\",
                                          "\x01",
                                          "\t",
                                          "\xC3\xA9",
                                          "\xF0\x9F\x93\x9E",
                                          " ",
                                          " ",
                                          " ",
                                          " "};
    std::mt19937 random(20261209);
    std::vector<std::string> texts;
    std::string input;
    for (int line = 0; line < 200; ++line) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 160)(random);
        for (int i = 0; i < length; ++i) {
            text +=
                pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        texts.push_back(text);
        input += text + "\n";
    }
    const Outcome plain = RunDecode({"--lines", "--json"}, input);
    const Outcome explained = RunDecode({"--lines", "--json", "--explain"}, input);
    EXPECT_EQ(explained.status, 0);
    const std::vector<std::string> plainLines = Lines(plain.out);
    const std::vector<std::string> explainedLines = Lines(explained.out);
    ASSERT_EQ(plainLines.size(), texts.size());
    ASSERT_EQ(explainedLines.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_TRUE(SourcesReadTheText(json::parse(explainedLines[i]).at("sources"), texts[i]))
            << texts[i];
        const std::size_t sources = explainedLines[i].rfind(",\"sources\":");
        ASSERT_NE(sources, std::string::npos);
        EXPECT_EQ(explainedLines[i].substr(0, sources) + "}", plainLines[i]) << texts[i];
    }
}

}  // namespace
}  // namespace quillmark::cli::test
