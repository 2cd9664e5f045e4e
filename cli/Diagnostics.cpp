// SPDX-License-Identifier: MIT
#include "cli/Diagnostics.h"

#include <cstdint>

#include "cli/CommandLine.h"
#include "cli/SystemIo.h"

namespace quillmark::cli {

std::ostream& Diagnostics::Start(std::string_view file) {
    out_.Flush();
    reported_ = true;
    return err_ << kProgramName << ": " << file;
}

void Diagnostics::InputError(std::string_view file, int error) {
    Start(file) << ": " << sysio::ErrorText(error) << '\n' << std::flush;
}

void Diagnostics::MessageCut(std::string_view file, std::uint64_t line, std::size_t limit) {
    Start(file) << ':' << line << ": message cut after its first " << limit
                << " characters, as the window's input box would cut it\n"
                << std::flush;
}

void Diagnostics::NoBugMessage(std::string_view file) {
    out_.Flush();
    err_ << kProgramName << ": " << file << ": no BUG message found\n" << std::flush;
}

void Diagnostics::OutOfMemory(std::string_view file, std::optional<std::uint64_t> line) {
    std::ostream& err = Start(file);
    if (line) {
        err << ':' << *line;
    }
    err << ": out of memory; the rest of this input is not decoded\n" << std::flush;
}

}  // namespace quillmark::cli
