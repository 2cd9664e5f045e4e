// SPDX-License-Identifier: MIT
#pragma once
// Standard output of quillmark-decode, written in large blocks.

#include <string>
#include <string_view>

namespace quillmark::cli {

class OutputSink {
public:
    enum class State { Open, Closed, Failed };

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

private:
    bool WriteAll(std::string_view text);

    int fd_;
    std::string buffer_;
    State state_ = State::Open;
    int error_ = 0;
};

}  // namespace quillmark::cli
