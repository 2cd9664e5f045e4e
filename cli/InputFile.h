// SPDX-License-Identifier: MIT
#pragma once
// One input of quillmark-decode, read block by block: a named file, or standard input for "-".

#include <cstddef>
#include <string>

namespace quillmark::cli {

class InputFile {
public:
    // Opens the file; "-" stands for standard input, which is read but never closed.
    explicit InputFile(const std::string& name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // Reads the next block into buffer: the number of bytes read, 0 at the end, -1 on failure.
    long Read(char* buffer, std::size_t capacity);
    // True when a read would have to wait for more input, as on a pipe whose writer is slow.
    bool WouldWait() const;
    // errno of the failed open or read.
    int Error() const { return error_; }

private:
    int fd_ = -1;
    bool owned_ = false;
    int error_ = 0;
};

}  // namespace quillmark::cli
