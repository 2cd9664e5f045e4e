// SPDX-License-Identifier: MIT
// --lines: every line of every input is a message of its own.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>

#include "tests/cli/DecodeProcess.h"
#include "tests/support/NamedCase.h"

namespace quillmark::cli::test {
namespace {

std::string Reports(const std::vector<std::string>& messages) {
    std::string text;
    for (const std::string& message : messages) {
        text += (text.empty() ? "" : "\n") + WindowReport(message);
    }
    return text;
}

struct LinesCase : support::NamedCase {
    std::string input;
    std::vector<std::string> messages;  // the line texts, one record each
};

std::string LongLine() {
    std::string line;
    for (int k = 0; k < 20000; ++k) {
        line += "0000B1A3 ";  // 180000 bytes: past word 30 and across several read blocks
    }
    return line;
}

const std::vector<LinesCase> kLines{
    {"NoInputNoRecord", "", {}},
    {"OneLineWithoutLineFeed", "0008F5B4 00000102", {"0008F5B4 00000102"}},
    {"FinalLineFeedEndsTheLastLine", "0008F5B4\n", {"0008F5B4"}},
    {"CarriageReturnsDropped", "A1 B2\r\nC3\r\n\r\nD4", {"A1 B2", "C3", "", "D4"}},
    {"EmptyLinesAreRecords", "\n\nX\n\n", {"", "", "X", ""}},
    {"LoneCarriageReturnStaysInItsLine", "12\r34\n", {"1234"}},
    {"LongLineThenShortOne",
     LongLine() + "\n0008F5B4 00000102\n",
     {LongLine(), "0008F5B4 00000102"}},
    {"MalformedByteBeforeLineFeed", "00\xE2\n\xA2 11\n", {"00\xE2", "\xA2 11"}},
};

class Lines : public testing::TestWithParam<LinesCase> {};

TEST_P(Lines, EveryLineDecodedOnItsOwn) {
    const Outcome outcome = RunDecode({"--lines"}, GetParam().input);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, Reports(GetParam().messages));
}

INSTANTIATE_TEST_SUITE_P(Lines, Lines, testing::ValuesIn(kLines),
                         [](const testing::TestParamInfo<LinesCase>& info) {
                             return info.param.name;
                         });

TEST(Lines, LinesOfSeveralInputsFollowEachOther) {
    // A last line without a line feed ends with its input; it is not joined to the next one.
    const std::string first = ScratchFile("lines-first", "1\r\n2");
    const std::string last = ScratchFile("lines-last", "4\n");
    const Outcome outcome = RunDecode({"--lines", first, "-", last}, "3\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, Reports({"1", "2", "3", "4"}));
}

std::string ReadExactly(int fd, std::size_t size) {
    std::string text(size, '\0');
    std::size_t got = 0;
    while (got < size) {
        const ssize_t count = ::read(fd, text.data() + got, size - got);
        if (count <= 0) {
            break;
        }
        got += static_cast<std::size_t>(count);
    }
    text.resize(got);
    return text;
}

TEST(Lines, LinesThatArriveSlowlyAreShownAtOnce) {
    // Like `tail -f log | quillmark-decode --lines`: each record must come out while the
    // input stays open. Were it held back, the read below would wait for ever (test timeout).
    int input[2];
    int output[2];
    ASSERT_EQ(::pipe2(input, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(output, O_CLOEXEC), 0);
    const std::string errPath = ScratchFile("slow-err", "");
    FILE* err = std::fopen(errPath.c_str(), "we");
    const int pid = SpawnDecode({"--lines"}, input[0], output[1], fileno(err));
    ::close(input[0]);
    ::close(output[1]);

    const std::string first = "0008F5B4 00000102 00001A48";
    ASSERT_EQ(::write(input[1], (first + "\r\n0000").data(), first.size() + 6),
              static_cast<ssize_t>(first.size() + 6));
    EXPECT_EQ(ReadExactly(output[0], WindowReport(first).size()), WindowReport(first));

    // The line begun before the pause goes on where it stopped.
    ASSERT_EQ(::write(input[1], "0102\n", 5), 5);
    const std::string second = "\n" + WindowReport("00000102");
    EXPECT_EQ(ReadExactly(output[0], second.size()), second);

    ::close(input[1]);
    EXPECT_EQ(ReadExactly(output[0], 1), "");  // nothing more once the input ends
    ::close(output[0]);
    EXPECT_EQ(WaitStatus(pid), 0);
    std::fclose(err);
    EXPECT_EQ(ReadWholeFile(errPath), "");
}

}  // namespace
}  // namespace quillmark::cli::test
