// SPDX-License-Identifier: MIT
#pragma once
// Runs quillmark-decode as a separate process, the way a shell script would.

#include <string>
#include <string_view>
#include <vector>

namespace quillmark::cli::test {

struct Outcome {
    int status = -1;  // exit status, or 128 + signal number when a signal ended it
    std::string out;
    std::string err;
};

// The program under test.
std::string DecodeProgram();

// Runs the program with the arguments, standard input holding `input`; standard output goes to
// `outputPath` when one is given (its text is then not collected).
Outcome RunDecode(const std::vector<std::string>& args, std::string_view input = {},
                  const std::string& outputPath = {});

// Starts the program with the given descriptors as its standard streams; returns its pid.
int SpawnDecode(const std::vector<std::string>& args, int in, int out, int err);
int WaitStatus(int pid);

// A file in this test run's scratch folder, removed at exit.
std::string ScratchFile(const std::string& name, std::string_view content);
std::string ScratchDir(const std::string& name);
std::string ReadWholeFile(const std::string& path);

// The window's "Copy Results" report for the text, with LF line ends.
std::string WindowReport(std::string_view text);
// The text after `presses` presses of "Trim Text".
std::string Trimmed(std::string text, unsigned long long presses);

}  // namespace quillmark::cli::test
