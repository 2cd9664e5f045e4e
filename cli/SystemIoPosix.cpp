// SPDX-License-Identifier: MIT
// The POSIX side of SystemIo.h: plain file descriptors.
#include "cli/SystemIo.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace quillmark::cli::sysio {

Handle HandleOfDescriptor(int fd) { return fd; }

Opened OpenForReading(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {kNoHandle, errno};
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return {fd, 0};
}

void Close(Handle handle) { ::close(static_cast<int>(handle)); }

long Read(Handle handle, char* buffer, std::size_t capacity, int& error) {
    for (;;) {
        const ssize_t count = ::read(static_cast<int>(handle), buffer, capacity);
        if (count >= 0) {
            return static_cast<long>(count);
        }
        if (errno != EINTR) {
            error = errno;
            return -1;
        }
    }
}

bool WouldWait(Handle handle) {
    pollfd ready{static_cast<int>(handle), POLLIN, 0};
    return ::poll(&ready, 1, 0) == 0;
}

long Write(Handle handle, const char* bytes, std::size_t size, int& error) {
    for (;;) {
        const ssize_t count = ::write(static_cast<int>(handle), bytes, size);
        if (count >= 0) {
            return static_cast<long>(count);
        }
        if (errno != EINTR) {
            error = errno;
            return -1;
        }
    }
}

bool IsTerminal(Handle handle) { return ::isatty(static_cast<int>(handle)) == 1; }

std::string ErrorText(int error) { return std::strerror(error); }

void PrepareProcess() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace quillmark::cli::sysio
