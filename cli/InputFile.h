// SPDX-License-Identifier: MIT
#pragma once
// One input of quillmark-decode, read block by block: a named file, or standard input for "-".

#include <cstddef>
#include <memory>
#include <string>

#include "cli/SystemIo.h"

namespace quillmark::cli {

class InputSource {
public:
    virtual ~InputSource() = default;
    virtual bool IsOpen() const = 0;
    // Reads the next block into buffer: the number of bytes read, 0 at the end, -1 on failure.
    virtual long Read(char* buffer, std::size_t capacity) = 0;
    // True when a read would have to wait for more input, as on a pipe whose writer is slow.
    virtual bool WouldWait() const = 0;
    // errno of the failed open or read (on Windows too; see SystemIo.h).
    virtual int Error() const = 0;
};

class InputFile final : public InputSource {
public:
    // Opens the file by its UTF-8 name; "-" stands for standard input, which is read but never
    // closed.
    explicit InputFile(const std::string& name);
    ~InputFile() override;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const override { return handle_ != sysio::kNoHandle; }
    long Read(char* buffer, std::size_t capacity) override;
    bool WouldWait() const override;
    int Error() const override { return error_; }

private:
    sysio::Handle handle_ = sysio::kNoHandle;
    bool owned_ = false;
    int error_ = 0;
};

// Opens the input of the given name.
std::unique_ptr<InputSource> OpenInputFile(const std::string& name);

}  // namespace quillmark::cli
