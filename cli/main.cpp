// SPDX-License-Identifier: MIT
// quillmark-decode: decodes call register dumps of BUG messages as the Quillmark window does.

#include <csignal>
#include <unistd.h>

#include "cli/CommandLine.h"
#include "cli/DecodeRun.h"

int main(int argc, char** argv) {
    // A reader that goes away (`| head`) shows up as EPIPE on write and ends the run quietly.
    std::signal(SIGPIPE, SIG_IGN);

    const quillmark::cli::CommandLine commandLine = quillmark::cli::ParseCommandLine(argc, argv);
    if (!commandLine.options) {
        return commandLine.exitStatus;
    }
    return quillmark::cli::RunDecode(*commandLine.options, STDOUT_FILENO);
}
