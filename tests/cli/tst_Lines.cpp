// SPDX-License-Identifier: MIT
// --lines: every line of every input is a message of its own.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <utility>

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

// Input that arrives in parts with pauses between them, like `tail -f log | quillmark-decode`:
// each record must come out while the input stays open. Were it held back, the read after a
// part would wait for ever (test timeout).
struct SlowCase : support::NamedCase {
    std::vector<std::string> args;
    // Each part written, then what must come out before the next one (nothing to wait for
    // when empty).
    std::vector<std::pair<std::string, std::string>> parts;
};

const std::string kSlowFirst = "0008F5B4 00000102 00001A48";

const std::vector<SlowCase> kSlowCases{
    // The line begun before the pause goes on where it stopped.
    {"Lines",
     {"--lines"},
     {{kSlowFirst + "\r\n0000", WindowReport(kSlowFirst)},
      {"0102\n", "\n" + WindowReport("00000102")}}},
    // A message is shown once the line after its dump has come; a dump line begun before the
    // pause goes on where it stopped.
    {"Log",
     {"--log"},
     {{"BUG1 " + kSlowFirst + "\r\n>\n", "-:1: BUG1\n" + WindowReport(kSlowFirst) + "\n"},
      {"BUG2 0008F5B4\n  0000", ""},
      {"0102\nOK\n", "-:3: BUG2\n" + WindowReport("0008F5B4 00000102") + "\n"}}},
};

class SlowInput : public testing::TestWithParam<SlowCase> {};

TEST_P(SlowInput, EachRecordIsShownAtOnce) {
    int input[2];
    int output[2];
    ASSERT_EQ(::pipe2(input, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(output, O_CLOEXEC), 0);
    const std::string errPath = ScratchFile(std::string("slow-err-") + GetParam().name, "");
    FILE* err = std::fopen(errPath.c_str(), "we");
    const int pid = SpawnDecode(GetParam().args, input[0], output[1], fileno(err));
    ::close(input[0]);
    ::close(output[1]);
    for (const auto& [part, shown] : GetParam().parts) {
        ASSERT_EQ(::write(input[1], part.data(), part.size()), static_cast<ssize_t>(part.size()));
        EXPECT_EQ(ReadExactly(output[0], shown.size()), shown);
    }
    ::close(input[1]);
    EXPECT_EQ(ReadExactly(output[0], 1), "");  // nothing more once the input ends
    ::close(output[0]);
    EXPECT_EQ(WaitStatus(pid), 0);
    std::fclose(err);
    EXPECT_EQ(ReadWholeFile(errPath), "");
}

INSTANTIATE_TEST_SUITE_P(Lines, SlowInput, testing::ValuesIn(kSlowCases),
                         [](const testing::TestParamInfo<SlowCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace quillmark::cli::test
