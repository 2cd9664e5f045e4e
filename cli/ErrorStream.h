// SPDX-License-Identifier: MIT
#pragma once
// Standard error of quillmark-decode as a stream buffer over SystemIo.h, put under std::cerr at
// the start: on a Windows console its UTF-8 text is shown as such (not in the console's code
// page), and on a terminal of either system the control characters of a file name are written
// visibly escaped, as standard output writes them (TerminalText.h).

#include <streambuf>
#include <string>

#include "cli/SystemIo.h"

namespace quillmark::cli {

class ErrorStream final : public std::streambuf {
public:
    explicit ErrorStream(int fd);
    ErrorStream(const ErrorStream&) = delete;
    ErrorStream& operator=(const ErrorStream&) = delete;
    ~ErrorStream() override;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize size) override;
    int sync() override;

private:
    sysio::Handle handle_;
    bool terminal_;
    std::string pending_;
    std::string escaped_;
};

}  // namespace quillmark::cli
