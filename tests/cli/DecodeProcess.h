// SPDX-License-Identifier: MIT
#pragma once
// Runs quillmark-decode as a separate process, the way a shell script would; what it should
// write comes from ExpectedOutput.h.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tests/cli/ExpectedOutput.h"

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

// Runs the program as RunDecode does, with its address space limited to `kib` KiB.
Outcome RunDecodeWithMemoryLimit(std::size_t kib, const std::vector<std::string>& args);

// Starts the program with the given descriptors as its standard streams; returns its pid.
int SpawnDecode(const std::vector<std::string>& args, int in, int out, int err);
int WaitStatus(int pid);

// A file in this test run's scratch folder, removed at exit.
std::string ScratchFile(const std::string& name, std::string_view content);
std::string ScratchDir(const std::string& name);
std::string ReadWholeFile(const std::string& path);

}  // namespace quillmark::cli::test
