// SPDX-License-Identifier: MIT
// What a terminal is shown of the output (cli/TerminalText.h), and the output layer choosing it
// only for a terminal.

#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>
#include <string>

#include "cli/OutputSink.h"
#include "cli/TerminalText.h"
#include "tests/cli/DecodeProcess.h"
#include "tests/support/NamedCase.h"

namespace quillmark::cli {
namespace {

struct EscapeCase : support::NamedCase {
    std::string text;
    std::string shown;
};

class TerminalText : public testing::TestWithParam<EscapeCase> {};

TEST_P(TerminalText, ControlCharactersShownEscapedTheRestAsItIs) {
    std::string out = "kept:";
    AppendEscapedForTerminal(GetParam().text, out);
    EXPECT_EQ(out, "kept:" + GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Output, TerminalText,
    testing::Values(EscapeCase{"Plain", "Call Register: 0008F5B4\n", "Call Register: 0008F5B4\n"},
                    EscapeCase{"Empty", "", ""},
                    EscapeCase{"TitleSequence", "\x1b]0;title\x07", "\\x1b]0;title\\x07"},
                    EscapeCase{"TabAndCarriageReturn", "A\tB\r\n", "A\\x09B\\x0d\n"},
                    EscapeCase{"NulAndUnitSeparator", std::string("\0\x1f", 2), "\\x00\\x1f"},
                    EscapeCase{"Delete", "A\x7f", "A\\x7f"},
                    EscapeCase{"C1Controls", "\xc2\x80\xc2\x9b[2J\xc2\x9f",
                               "\\xc2\\x80\\xc2\\x9b[2J\\xc2\\x9f"},
                    EscapeCase{"LatinAfterC1Range", "\xc2\xa0\xc2\xa9 \xc3\xb6",
                               "\xc2\xa0\xc2\xa9 \xc3\xb6"},
                    EscapeCase{"WideCharacters", "–日本😀", "–日本😀"},
                    EscapeCase{"LoneC1Byte",
                               "\x9b"
                               "2J",
                               "\\x9b"
                               "2J"},
                    EscapeCase{"BrokenSequences", "\xff\xe6\x97 \xc2", "\\xff\\xe6\\x97 \\xc2"},
                    EscapeCase{"Overlong", "\xc0\xaf", "\\xc0\\xaf"},
                    EscapeCase{"Surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
                    EscapeCase{"BackslashAsItIs", "a\\x1b", "a\\x1b"}),
    [](const testing::TestParamInfo<EscapeCase>& info) { return info.param.name; });

// A pseudo-terminal: what the program writes to `follower`, a person's terminal shows.
struct Terminal {
    int leader = -1;
    int follower = -1;
    Terminal() {
        termios raw{};
        cfmakeraw(&raw);  // no LF to CR LF on the way through
        EXPECT_EQ(::openpty(&leader, &follower, nullptr, &raw, nullptr), 0);
    }
    ~Terminal() {
        ::close(leader);
        ::close(follower);
    }
    std::string Shown(std::size_t size) const {
        std::string text;
        char block[4096];
        while (text.size() < size) {
            const ssize_t count = ::read(leader, block, sizeof block);
            if (count <= 0) {
                break;
            }
            text.append(block, static_cast<std::size_t>(count));
        }
        return text;
    }
};

TEST(TerminalOutput, SinkEscapesOnATerminalOnly) {
    const std::string record = "Orig TN: \x1b]0;owned\x07\xc2\x9b\n";
    const std::string shown = "Orig TN: \\x1b]0;owned\\x07\\xc2\\x9b\n";
    Terminal terminal;
    OutputSink toTerminal(terminal.follower);
    EXPECT_TRUE(toTerminal.ToTerminal());
    EXPECT_TRUE(toTerminal.Append(record));
    EXPECT_TRUE(toTerminal.Flush());
    EXPECT_EQ(terminal.Shown(shown.size()), shown);

    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    OutputSink toPipe(pipeFds[1]);
    EXPECT_FALSE(toPipe.ToTerminal());
    EXPECT_TRUE(toPipe.Append(record));
    EXPECT_TRUE(toPipe.Flush());
    std::string bytes(record.size(), '\0');
    EXPECT_EQ(::read(pipeFds[0], bytes.data(), bytes.size()), static_cast<ssize_t>(record.size()));
    EXPECT_EQ(bytes, record);  // to a pipe, the bytes exactly as given
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

// The program itself on a terminal, against the same program writing to a file.
TEST(TerminalOutput, ProgramOnATerminalShowsTheEscapesAFileKeepsTheBytes) {
    const std::string dump = "\x1b]0;x\x07 00000102";  // word 1 is shown as typed
    const std::string file = test::ScratchFile("terminal-dump", dump);
    const test::Outcome toFile = test::RunDecode({"--lines", file});
    ASSERT_EQ(toFile.status, 0);
    std::string expected;
    AppendEscapedForTerminal(toFile.out, expected);
    ASSERT_NE(expected, toFile.out);  // the dump's escape reaches the report

    Terminal terminal;
    const int pid = test::SpawnDecode({"--lines", file}, terminal.follower, terminal.follower,
                                      terminal.follower);
    EXPECT_EQ(terminal.Shown(expected.size()), expected);
    EXPECT_EQ(test::WaitStatus(pid), 0);
}

// Standard error names an input the same way.
TEST(TerminalOutput, InputNameOnATerminalShownEscaped) {
    const std::string missing = test::ScratchDir("terminal-names") + "/\x1b[2Jgone";
    const std::string shown = "quillmark-decode: " + missing.substr(0, missing.size() - 8) +
                              "\\x1b[2Jgone: No such file or directory\n";
    Terminal terminal;
    const int pid = test::SpawnDecode({"--lines", missing}, terminal.follower, terminal.follower,
                                      terminal.follower);
    EXPECT_EQ(terminal.Shown(shown.size()), shown);
    EXPECT_EQ(test::WaitStatus(pid), 1);
}

}  // namespace
}  // namespace quillmark::cli
