// SPDX-License-Identifier: MIT
// --log, --csv, --summary and --tables, run as a script runs them.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/DecodeProcess.h"
#include "tests/support/NamedCase.h"
#include "tests/support/WorkedExample.h"

namespace quillmark::cli::test {
namespace {

const std::string kDump(sample::kWorkedExample);

// The worked example wrapped over three lines between other console output.
const std::string kLog = "12:00:01 DEC 10 OK\nBUG0042 " + kDump.substr(0, 36) + "\n   " +
                         kDump.substr(36, 45) + "\r\n" + kDump.substr(81) +
                         "\n>\nBUG0043 0008F5B4 00000C5F\n";

const std::string kCsvHeader =
    "CallRegister,MainPM,AuxPM,OrigType,TermType,OrigTN,TermTN,Queue,CRLink,CRBakLink,AuxCR,"
    "CRDialed,DigitLoad,DigitUnload,DigsDialed,PointersDiffer,codes.MainPM,codes.AuxPM,"
    "codes.TermType,codes.OrigType,codes.Queue\r\n";
const std::string kTwoWordsRow =
    "READY,DISA_READY,UNKNOWN,UNKNOWN,Use LD 32 to Convert TN H.,Use LD 32 to Convert TN H.,"
    "UNKNOWN,,,,,H. (DEC: 0),H. (DEC: 0),,false,01,02,,,\r\n";

struct LogRunCase : support::NamedCase {
    std::vector<std::string> args;
    std::string input;
    std::string out;
    std::string err;
    int status = 0;
};

// A log of many pieces, with a line longer than a piece in it: read on the workers piece by
// piece, the long line by the reader that hands them out, as one reader reads it.
LogRunCase LongLogCase() {
    LogRunCase run{{"LongLogWithALongLine"}, {"--log"}, "", "", ""};
    std::uint64_t line = 0;
    const auto copies = [&](int count) {
        for (int k = 0; k < count; ++k) {
            run.input += kLog;
            run.out += "-:" + std::to_string(line + 2) + ": BUG0042\n" + WindowReport(kDump) +
                       "\n-:" + std::to_string(line + 6) + ": BUG0043\n" +
                       WindowReport("0008F5B4 00000C5F") + "\n";
            line += 6;
        }
    };
    copies(400);
    run.input += std::string(200000, 'x') + "\n";
    ++line;
    copies(400);
    return run;
}

const std::vector<LogRunCase> kLogRuns{
    LongLogCase(),
    {"TextHeadingReportAndEmptyLine",
     {"--log"},
     kLog,
     "-:2: BUG0042\n" + WindowReport(kDump) + "\n-:6: BUG0043\n" +
         WindowReport("0008F5B4 00000C5F") + "\n",
     ""},
    {"NoBugMessageIsSaidButNoError",
     {"--log"},
     "OK\n0008F5B4 00000102\n",
     "",
     "quillmark-decode: -: no BUG message found\n"},
    {"CsvOfLines",
     {"--lines", "--csv"},
     "0008F5B4 00000102\n",
     "file,line," + kCsvHeader + "-,1,0008F5B4," + kTwoWordsRow,
     ""},
    {"CsvFieldsQuotedWhereNeeded",
     {"--csv"},
     "a,\"b 00000102",
     "file," + kCsvHeader + "-,\"a,\"\"b\"," + kTwoWordsRow,
     ""},
    {"CsvOfLogHasLineAndBug",
     {"--log", "--csv"},
     "BUG7 0008F5B4\n00000102",
     "file,line,bug," + kCsvHeader + "-,1,BUG7,0008F5B4," + kTwoWordsRow,
     ""},
    {"CsvCommaAloneOrQuoteAloneQuotes",
     {"--log", "--csv"},
     "BUG7 a,b 00000102\nBUG8 a\"b 00000102\n",
     "file,line,bug," + kCsvHeader + "-,1,BUG7,\"a,b\"," + kTwoWordsRow + "-,2,BUG8,\"a\"\"b\"," +
         kTwoWordsRow,
     ""},
    {"SummaryAsJson",
     {"--log", "--summary", "--json"},
     kLog + "BUG0044 0008F5B4 00000C5F\n",
     "{\"dumps\":3,\"shortDumps\":2,\"notes\":2,\"skippedLines\":2,\"MainPM\":{\"SPECIAL\":2,"
     "\"READY\":1},\"AuxPM\":{\"SPECIAL\":{\"ENTR_CMD_CR\":2},\"READY\":{\"DISA_READY\":1}},"
     "\"OrigType\":{\"UNKNOWN\":2,\"XTD_UNIT\":1},\"TermType\":{\"UNKNOWN\":3},\"Queue\":{"
     "\"UNKNOWN\":2,\"QU_IDLE\":1}}\n",
     ""},
    {"SummaryTellsACutMessage",
     {"--log", "--summary", "--json"},
     "OK\nBUG1 " + std::string(70000, 'A') + " 00000102\nBUG2 0008F5B4\n",
     "{\"dumps\":2,\"shortDumps\":2,\"notes\":3,\"skippedLines\":1,\"MainPM\":{\"UNDEFINED\":2},"
     "\"AuxPM\":{\"UNDEFINED\":{\"\":2}},\"OrigType\":{\"UNKNOWN\":2},\"TermType\":{"
     "\"UNKNOWN\":2},\"Queue\":{\"UNKNOWN\":2}}\n",
     CutMessage("-", 2),
     1},
    {"SummaryAsText",
     {"--log", "--summary"},
     "BUG1 0008F5B4 00000102\n",
     "         1  Messages\n         1  Short dumps\n         1  Notes\n         0  Skipped "
     "lines\n\nMain PM\n         1  READY\n\nAUX PM\n         1  READY / DISA_READY\n\nOrig "
     "Type\n         1  UNKNOWN\n\nTerm Type\n         1  UNKNOWN\n\nQueue\n         1  "
     "UNKNOWN\n",
     ""},
};

class LogRuns : public testing::TestWithParam<LogRunCase> {};

TEST_P(LogRuns, WriteWhatTheOptionsAskFor) {
    const Outcome outcome = RunDecode(GetParam().args, GetParam().input);
    EXPECT_EQ(outcome.status, GetParam().status);
    EXPECT_EQ(outcome.out, GetParam().out);
    EXPECT_EQ(outcome.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(Log, LogRuns, testing::ValuesIn(kLogRuns),
                         [](const testing::TestParamInfo<LogRunCase>& info) {
                             return info.param.name;
                         });

TEST(Log, JsonRecordsCarryLineAndBugWordOfEachInput) {
    const std::string file = ScratchFile("log-json", kLog);
    const Outcome outcome = RunDecode({"--log", "--json", "--explain", file});
    EXPECT_EQ(outcome.status, 0);
    std::vector<nlohmann::json> records;
    for (std::size_t at = 0; at < outcome.out.size();) {
        const std::size_t end = outcome.out.find('\n', at);
        records.push_back(nlohmann::json::parse(outcome.out.substr(at, end - at)));
        at = end + 1;
    }
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[0]["file"], file);
    EXPECT_EQ(records[0]["line"], 2);
    EXPECT_EQ(records[0]["bug"], "BUG0042");
    EXPECT_EQ(records[0]["DigsDialed"], "301B");
    EXPECT_EQ(records[1]["line"], 6);
    EXPECT_TRUE(records[1]["sources"].contains("MainPM"));
}

TEST(Log, TablesListEveryEntryOnce) {
    const Outcome outcome = RunDecode({"--tables", "--json"});
    EXPECT_EQ(outcome.status, 0);
    const nlohmann::json tables = nlohmann::json::parse(outcome.out);
    const std::vector<std::pair<std::string, std::size_t>> sizes{
        {"MainPM", 28}, {"AuxPM", 237}, {"OrigType", 20}, {"TermType", 20}, {"Queue", 36}};
    for (const auto& [key, size] : sizes) EXPECT_EQ(tables[key].size(), size) << key;
    EXPECT_EQ(tables["AuxPM"][0], nlohmann::json::parse(R"({"MainPM":"01","MainPMName":"READY",
        "code":"02","name":"DISA_READY"})"));
    EXPECT_NE(RunDecode({"--tables"}).out.find("\nQueue\n  0  NONE\n  00  QU_NONE\n"),
              std::string::npos);
}

}  // namespace
}  // namespace quillmark::cli::test
