// SPDX-License-Identifier: MIT
#include "cli/OutputSink.h"

#include <cerrno>
#include <cstddef>

#include "cli/TerminalText.h"

namespace quillmark::cli {
namespace {
constexpr std::size_t kBlockSize = 64 * 1024;
}

OutputSink::OutputSink(int fd)
    : handle_(sysio::HandleOfDescriptor(fd)), terminal_(sysio::IsTerminal(handle_)) {
    buffer_.reserve(2 * kBlockSize);
}

bool OutputSink::Append(std::string_view text) {
    if (state_ != State::Open) {
        return false;
    }
    if (buffer_.size() + text.size() < kBlockSize) {
        buffer_.append(text);
        return true;
    }
    // A large text, such as a batch of records, goes out as it is rather than through the buffer.
    return Flush() && WriteAll(text);
}

bool OutputSink::Commit() {
    if (state_ != State::Open) {
        buffer_.clear();
        return false;
    }
    return buffer_.size() < kBlockSize || Flush();
}

bool OutputSink::Flush() {
    WriteAll(buffer_);
    buffer_.clear();
    return state_ == State::Open;
}

bool OutputSink::WriteAll(std::string_view text) {
    if (!terminal_) {
        return WriteBytes(text);
    }
    // Every text handed here ends with a whole record, so no character is split between two.
    escaped_.clear();
    AppendEscapedForTerminal(text, escaped_);
    return WriteBytes(escaped_);
}

bool OutputSink::WriteBytes(std::string_view bytes) {
    std::size_t written = 0;
    while (state_ == State::Open && written < bytes.size()) {
        int error = 0;
        const long count =
            sysio::Write(handle_, bytes.data() + written, bytes.size() - written, error);
        if (count > 0) {
            written += static_cast<std::size_t>(count);
        } else if (count == 0) {
            state_ = State::Failed;  // nothing taken and no reason given: never spin on it
            error_ = EIO;
        } else if (error == EPIPE) {
            state_ = State::Closed;
        } else {
            state_ = State::Failed;
            error_ = error;
        }
    }
    return state_ == State::Open;
}

}  // namespace quillmark::cli
