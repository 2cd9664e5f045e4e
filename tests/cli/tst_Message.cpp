// SPDX-License-Identifier: MIT
// The default mode: each input is one message, decoded as the window decodes its input box.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <csignal>
#include <thread>

#include "tests/cli/DecodeProcess.h"
#include "tests/support/NamedCase.h"
#include "tests/support/WorkedExample.h"

namespace quillmark::cli::test {
namespace {

const std::string kWorkedExample(sample::kWorkedExample);

// The window's report with LF line ends.
std::string WithLineFeeds(std::string_view report) {
    std::string text;
    for (char c : report)
        if (c != '\r') text += c;
    return text;
}

TEST(Message, EmptyInputGivesTheFifteenBareLines) {
    const Outcome outcome = RunDecode({}, "");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out,
              "Call Register: \n"
              "Main PM: UNDEFINED\n"
              "AUX PM: \n"
              "Orig Type: UNKNOWN\n"
              "Term Type: UNKNOWN\n"
              "Orig TN: Use LD 32 to Convert TN H.\n"
              "Term TN: Use LD 32 to Convert TN H.\n"
              "Queue: UNKNOWN\n"
              "CR Fwd Link: \n"
              "CR Bak Link: \n"
              "Aux CR: \n"
              "CR Dialed: \n"
              "Digit Load: H. (DEC: 0)\n"
              "Digit Unload: H. (DEC: 0)\n"
              "Digits Dialed: \n");
    EXPECT_EQ(outcome.err, "");
}

TEST(Message, WorkedExampleFieldsAsTheWindowShowsThem) {
    const Outcome outcome = RunDecode({}, kWorkedExample);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, WithLineFeeds(sample::kWorkedExampleReport));
    EXPECT_EQ(outcome.out, WindowReport(kWorkedExample));
}

struct TextCase : support::NamedCase {
    std::string text;
};

std::string ManyWords(int count, const std::string& word) {
    std::string text;
    for (int k = 0; k < count; ++k) {
        text += (k > 0 ? " " : "") + word;
    }
    return text;
}

// Text that crosses the program's read blocks (64 KiB) and still fits the window's input box,
// with a three-byte character split by the block boundary.
std::string AcrossBlocks() {
    std::string text;
    for (int k = 0; k < 21845; ++k) {
        text += "\xE2\x82\xAC";  // 65535 bytes, 21845 characters
    }
    return text + "\xE2\x82\xAC" + std::string(20000, 'B') + " " + kWorkedExample;
}

const std::vector<TextCase> kWindowTexts{
    {"WorkedExample", kWorkedExample},
    {"LeadingSpace", std::string(" ") + kWorkedExample},
    {"TwoSpaces", "A  B"},
    {"LineBreakInsideAWord", "0008\r\nF5B4 00000102"},
    {"LineBreakAfterASpace", "12 \r\n34"},
    {"EndsWithLineBreaks", std::string(kWorkedExample) + "\r\n\r\n"},
    {"LowerCase", "0008f5b4 000001ab 00001a48 0 0 0 0 0 0 0 0 000003e5 0000b1a3"},
    {"TabsAndQuotes", "\t\"00\"\\ 0000\t102"},
    {"MalformedBytes", "\xFF\xFE 00\xC3\x28\x01\x02 \xE2\x82"},
    {"NulByte", std::string("00\0"
                            "08 00000102",
                            11)},
    {"NonBreakingSpace",
     "0008F5B4\xC2\xA0"
     "00000102"},
    {"MoreThanThirtyWords", ManyWords(29, "0000000A") + " 00001234 00005678 00009999"},
    {"LongWordAcrossBlocks", AcrossBlocks()},
};

class WindowEquality : public testing::TestWithParam<TextCase> {};

TEST_P(WindowEquality, ReportEqualsTheWindowsReport) {
    const Outcome fromStdin = RunDecode({}, GetParam().text);
    EXPECT_EQ(fromStdin.status, 0);
    EXPECT_EQ(fromStdin.err, "");
    EXPECT_EQ(fromStdin.out, WindowReport(GetParam().text));

    const Outcome fromFile = RunDecode({ScratchFile(GetParam().name, GetParam().text)});
    EXPECT_EQ(fromFile.status, 0);
    EXPECT_EQ(fromFile.out, WindowReport(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Message, WindowEquality, testing::ValuesIn(kWindowTexts),
                         [](const testing::TestParamInfo<TextCase>& info) {
                             return info.param.name;
                         });

TEST(Message, SeveralInputsInTurnSeparatedByAnEmptyLine) {
    const std::string first = ScratchFile("first", kWorkedExample);
    const std::string last = ScratchFile("last", "00001111 22223333\r\n");
    const Outcome outcome = RunDecode({first, "-", last}, "AAAA0000 BBBB");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, WindowReport(kWorkedExample) + "\n" + WindowReport("AAAA0000 BBBB") +
                               "\n" + WindowReport("00001111 22223333\r\n"));
}

TEST(Message, StopsReadingOnceWordThirtyIsComplete) {
    // An endless message: the program must end by itself after word 30 and close its input.
    std::signal(SIGPIPE, SIG_IGN);  // the writer learns of the closed pipe from EPIPE
    int pipeFds[2];
    ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);
    const std::string outPath = ScratchFile("endless-out", "");
    const std::string errPath = ScratchFile("endless-err", "");
    FILE* out = std::fopen(outPath.c_str(), "we");
    FILE* err = std::fopen(errPath.c_str(), "we");
    const int pid = SpawnDecode({}, pipeFds[0], fileno(out), fileno(err));
    ::close(pipeFds[0]);
    std::thread writer([fd = pipeFds[1]] {
        const std::string words = "0000000A 00001020 ";
        while (::write(fd, words.data(), words.size()) > 0) {
        }
        ::close(fd);
    });
    const int status = WaitStatus(pid);
    writer.join();  // returns once the program has closed its end of the pipe
    std::fclose(out);
    std::fclose(err);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(outPath), WindowReport(ManyWords(15, "0000000A 00001020") + " "));
    EXPECT_EQ(ReadWholeFile(errPath), "");
}

}  // namespace
}  // namespace quillmark::cli::test
