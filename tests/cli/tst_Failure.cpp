// SPDX-License-Identifier: MIT
// Unreadable inputs, a full disk and a reader that goes away.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <map>
#include <string>
#include <vector>

#include "tests/cli/DecodeProcess.h"
#include "tests/support/NamedCase.h"

namespace quillmark::cli::test {
namespace {

// Each input that cannot be read is told in its turn; the others are still decoded. In `args`,
// "FILE" stands for a readable file, "MISSING" for a file that is not there, "FOLDER" for a
// folder.
struct UnreadableCase : support::NamedCase {
    std::vector<std::string> args;
    std::string input;
    std::string out;
};

const std::vector<UnreadableCase> kUnreadableCases{
    {"Messages",
     {"FILE", "MISSING", "FOLDER", "-"},
     "AAAA",
     WindowReport("0008F5B4 00000102") + "\n" + WindowReport("AAAA")},
    {"Lines", {"--lines", "FOLDER", "-"}, "A\nB\n", WindowReport("A") + "\n" + WindowReport("B")},
    {"Log",
     {"--log", "FOLDER", "-", "MISSING"},
     "BUG1 0008F5B4\n",
     "-:1: BUG1\n" + WindowReport("0008F5B4") + "\n"},
};

class Unreadable : public testing::TestWithParam<UnreadableCase> {};

TEST_P(Unreadable, InputsToldOthersStillDecoded) {
    const std::string folder = ScratchDir(std::string("unreadable-") + GetParam().name);
    const std::map<std::string, std::string> paths{
        {"FILE", ScratchFile(std::string("readable-") + GetParam().name, "0008F5B4 00000102")},
        {"MISSING", folder + "/missing"},
        {"FOLDER", folder}};
    const std::map<std::string, std::string> errors{{"MISSING", "No such file or directory"},
                                                    {"FOLDER", "Is a directory"}};
    std::vector<std::string> args;
    std::string err;
    for (const std::string& arg : GetParam().args) {
        const auto path = paths.find(arg);
        args.push_back(path == paths.end() ? arg : path->second);
        if (const auto error = errors.find(arg); error != errors.end())
            err += "quillmark-decode: " + path->second + ": " + error->second + "\n";
    }
    const Outcome outcome = RunDecode(args, GetParam().input);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, err);
    EXPECT_EQ(outcome.out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Failure, Unreadable, testing::ValuesIn(kUnreadableCases),
                         [](const testing::TestParamInfo<UnreadableCase>& info) {
                             return info.param.name;
                         });

struct FullDiskCase : support::NamedCase {
    std::vector<std::string> args;
    const char* error;
};

class FullDisk : public testing::TestWithParam<FullDiskCase> {};

TEST_P(FullDisk, WriteErrorReportedWithFailureStatus) {
    const Outcome outcome =
        RunDecode(GetParam().args, "0008F5B4 00000102\n00000000\n", "/dev/full");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Failure, FullDisk,
    testing::Values(
        FullDiskCase{"Report", {}, "quillmark-decode: write error: No space left on device\n"},
        FullDiskCase{
            "Lines", {"--lines"}, "quillmark-decode: write error: No space left on device\n"},
        FullDiskCase{
            "Json", {"--json"}, "quillmark-decode: write error: No space left on device\n"},
        FullDiskCase{"Version", {"--version"}, "quillmark-decode: write error\n"},
        FullDiskCase{"Help", {"--help"}, "quillmark-decode: write error\n"}),
    [](const testing::TestParamInfo<FullDiskCase>& info) { return info.param.name; });

TEST(Failure, ClosedPipeEndsQuietly) {
    std::string many;
    for (int k = 0; k < 20000; ++k) {
        many += "0008F5B4 00000102 00001A48 000A0421\n";  // far more output than a pipe holds
    }
    const std::string input = ScratchFile("many-lines", many);
    const std::string errPath = ScratchFile("pipe-err", "");
    FILE* in = std::fopen(input.c_str(), "re");
    FILE* err = std::fopen(errPath.c_str(), "we");
    int pipeFds[2];
    ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);
    const int pid = SpawnDecode({"--lines"}, fileno(in), pipeFds[1], fileno(err));
    ::close(pipeFds[1]);
    char head[100];
    EXPECT_EQ(::read(pipeFds[0], head, sizeof head), static_cast<ssize_t>(sizeof head));
    ::close(pipeFds[0]);  // like `| head -c 100`
    const int status = WaitStatus(pid);
    std::fclose(in);
    std::fclose(err);
    EXPECT_EQ(status, 0);  // not ended by SIGPIPE (141) and no failure either
    EXPECT_EQ(ReadWholeFile(errPath), "");
    EXPECT_EQ(std::string(head, 15), "Call Register: ");
}

}  // namespace
}  // namespace quillmark::cli::test
