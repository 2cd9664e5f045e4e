// SPDX-License-Identifier: MIT
#include "cli/OutputSink.h"

#include <cerrno>
#include <cstddef>
#include <unistd.h>

namespace quillmark::cli {
namespace {
constexpr std::size_t kBlockSize = 64 * 1024;
}

OutputSink::OutputSink(int fd) : fd_(fd) {
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
    std::size_t written = 0;
    while (state_ == State::Open && written < text.size()) {
        const ssize_t count = ::write(fd_, text.data() + written, text.size() - written);
        if (count > 0) {
            written += static_cast<std::size_t>(count);
        } else if (count == 0) {
            state_ = State::Failed;  // nothing taken and no reason given: never spin on it
            error_ = EIO;
        } else if (errno == EPIPE) {
            state_ = State::Closed;
        } else if (errno != EINTR) {
            state_ = State::Failed;
            error_ = errno;
        }
    }
    return state_ == State::Open;
}

}  // namespace quillmark::cli
