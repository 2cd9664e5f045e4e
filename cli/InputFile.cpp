// SPDX-License-Identifier: MIT
#include "cli/InputFile.h"

namespace quillmark::cli {

InputFile::InputFile(const std::string& name) {
    if (name == "-") {
        handle_ = sysio::HandleOfDescriptor(sysio::kStandardInput);
        return;
    }
    const sysio::Opened opened = sysio::OpenForReading(name);
    handle_ = opened.handle;
    error_ = opened.error;
    owned_ = handle_ != sysio::kNoHandle;
}

InputFile::~InputFile() {
    if (owned_) {
        sysio::Close(handle_);
    }
}

bool InputFile::WouldWait() const { return sysio::WouldWait(handle_); }

long InputFile::Read(char* buffer, std::size_t capacity) {
    return sysio::Read(handle_, buffer, capacity, error_);
}

std::unique_ptr<InputSource> OpenInputFile(const std::string& name) {
    return std::make_unique<InputFile>(name);
}

}  // namespace quillmark::cli
