// SPDX-License-Identifier: MIT
#pragma once
// Standard output of quillmark-decode, written in large blocks. On a terminal, control
// characters of the text are written visibly escaped (TerminalText.h); to a file or a pipe the
// bytes go out exactly as given.

#include <string>
#include <string_view>

#include "cli/SystemIo.h"

namespace quillmark::cli {

class OutputSink {
public:
    enum class State { Open, Closed, Failed };

    // The output behind a C runtime file descriptor; whether it is a terminal is asked once here.
    explicit OutputSink(int fd);

    // The text is collected and written once a block is full; a text of a block or more is
    // written at once. Returns false once the output is no longer open, so that decoding can stop.
    bool Append(std::string_view text);
    // Collected text to fill directly; call Commit() afterwards.
    std::string& Buffer() { return buffer_; }
    bool Commit();
    bool Flush();

    // Closed: the reader went away (a closed pipe), which ends the program quietly.
    // Failed: any other write error, such as a full disk; Error() tells which.
    State state() const { return state_; }
    int Error() const { return error_; }
    bool ToTerminal() const { return terminal_; }

private:
    bool WriteAll(std::string_view text);

    bool WriteBytes(std::string_view bytes);

    sysio::Handle handle_;
    bool terminal_;
    std::string buffer_;
    std::string escaped_;  // terminal only: the text as it is shown
    State state_ = State::Open;
    int error_ = 0;
};

}  // namespace quillmark::cli
