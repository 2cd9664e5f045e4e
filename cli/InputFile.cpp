// SPDX-License-Identifier: MIT
#include "cli/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace quillmark::cli {

InputFile::InputFile(const std::string& name) {
    if (name == "-") {
        fd_ = STDIN_FILENO;
        return;
    }
    fd_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    owned_ = true;
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
    if (owned_) {
        ::close(fd_);
    }
}

bool InputFile::WouldWait() const {
    pollfd ready{fd_, POLLIN, 0};
    return ::poll(&ready, 1, 0) == 0;
}

long InputFile::Read(char* buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t count = ::read(fd_, buffer, capacity);
        if (count >= 0) {
            return static_cast<long>(count);
        }
        if (errno != EINTR) {
            error_ = errno;
            return -1;
        }
    }
}

}  // namespace quillmark::cli

namespace quillmark::cli {

std::unique_ptr<InputSource> OpenInputFile(const std::string& name) {
    return std::make_unique<InputFile>(name);
}

}  // namespace quillmark::cli
