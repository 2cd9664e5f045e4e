// SPDX-License-Identifier: MIT
#pragma once
// Decodes every input of the command line and writes the results to standard output.

#include <cstddef>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "cli/CommandLine.h"
#include "cli/InputFile.h"
#include "cli/MessageCutter.h"
#include "cli/RecordFormat.h"

namespace quillmark::cli {

// Where a run reads and writes. The program uses the defaults; tests and the fuzz target put
// inputs in memory, count records of their own or choose a smaller input box.
struct RunSetup {
    int outputFd;
    std::ostream& diagnostics;
    std::function<std::unique_ptr<InputSource>(const std::string&)> open = OpenInputFile;
    RecordWriterFactory writers;  // empty: the form the options choose
    std::size_t characterLimit = kInputBoxCharacters;
};

// The exit status: 0 when every input was decoded whole; 1 when an input could not be read, a
// message was cut, memory ran out or the output could not be written. A closed output pipe
// ends the run quietly.
int RunDecode(const DecodeOptions& options, const RunSetup& setup);
int RunDecode(const DecodeOptions& options, int outputFd);

}  // namespace quillmark::cli
