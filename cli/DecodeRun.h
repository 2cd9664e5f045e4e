// SPDX-License-Identifier: MIT
#pragma once
// Decodes every input of the command line and writes the results to standard output.

#include "cli/CommandLine.h"

namespace quillmark::cli {

// The exit status: 0 when every input was decoded, 1 when an input could not be read or the
// output could not be written. A closed output pipe ends the run quietly.
int RunDecode(const DecodeOptions& options, int outputFd);

}  // namespace quillmark::cli
