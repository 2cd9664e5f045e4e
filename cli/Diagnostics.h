// SPDX-License-Identifier: MIT
#pragma once
// What quillmark-decode tells on standard error, one line per event, each naming the input
// (and its line where one is known). Every message but NoBugMessage makes the exit status 1.
// The records written
// before an event reach standard output first, so that both streams read in order.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>

#include "cli/OutputSink.h"

namespace quillmark::cli {

class Diagnostics {
public:
    Diagnostics(OutputSink& out, std::ostream& err) : out_(out), err_(err) {}

    // "quillmark-decode: FILE: reason"
    void InputError(std::string_view file, int error);
    // "quillmark-decode: FILE:LINE: message cut after its first N characters, ..."
    void MessageCut(std::string_view file, std::uint64_t line, std::size_t limit);
    // "quillmark-decode: FILE[:LINE]: out of memory; the rest of this input is not decoded"
    void OutOfMemory(std::string_view file, std::optional<std::uint64_t> line);

    // "quillmark-decode: FILE: no BUG message found" (--log): said, but not an error.
    void NoBugMessage(std::string_view file);

    bool AnyReported() const { return reported_; }

private:
    std::ostream& Start(std::string_view file);

    OutputSink& out_;
    std::ostream& err_;
    bool reported_ = false;
};

}  // namespace quillmark::cli
