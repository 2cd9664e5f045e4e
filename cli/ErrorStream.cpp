// SPDX-License-Identifier: MIT
#include "cli/ErrorStream.h"

#include <string_view>

#include "cli/TerminalText.h"

namespace quillmark::cli {

ErrorStream::ErrorStream(int fd)
    : handle_(sysio::HandleOfDescriptor(fd)), terminal_(sysio::IsTerminal(handle_)) {}

ErrorStream::~ErrorStream() { sync(); }

ErrorStream::int_type ErrorStream::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        pending_ += traits_type::to_char_type(c);
    }
    return traits_type::not_eof(c);
}

std::streamsize ErrorStream::xsputn(const char* text, std::streamsize size) {
    pending_.append(text, static_cast<std::size_t>(size));
    return size;
}

int ErrorStream::sync() {
    std::string_view bytes = pending_;
    if (terminal_) {
        escaped_.clear();
        AppendEscapedForTerminal(pending_, escaped_);
        bytes = escaped_;
    }
    bool failed = false;
    while (!bytes.empty()) {
        int error = 0;
        const long count = sysio::Write(handle_, bytes.data(), bytes.size(), error);
        if (count <= 0) {
            failed = true;  // nowhere left to tell it: the exit status still does
            break;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    pending_.clear();
    return failed ? -1 : 0;
}

}  // namespace quillmark::cli
