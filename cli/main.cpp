// SPDX-License-Identifier: MIT
// quillmark-decode: decodes call register dumps of BUG messages as the Quillmark window does.

#include <csignal>
#include <exception>
#include <iostream>
#include <unistd.h>

#include "cli/CommandLine.h"
#include "cli/DecodeRun.h"

int main(int argc, char** argv) {
    // A reader that goes away (`| head`) shows up as EPIPE on write and ends the run quietly.
    std::signal(SIGPIPE, SIG_IGN);

    try {
        const quillmark::cli::CommandLine commandLine = quillmark::cli::ParseCommandLine(argc, argv);
        if (!commandLine.options) {
            return commandLine.exitStatus;
        }
        return quillmark::cli::RunDecode(*commandLine.options, STDOUT_FILENO);
    } catch (const std::exception& error) {
        // Each input's own failures are reported where they happen; this is what is left, such
        // as memory running out before the first input. Never an abort with a core dump.
        std::cerr << quillmark::cli::kProgramName << ": " << error.what() << '\n';
        return 1;
    }
}
