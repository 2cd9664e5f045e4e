// SPDX-License-Identifier: MIT
#pragma once
// Buffers that are refilled for every message keep their storage, so that ordinary messages
// cost no allocation; storage that one unusually large text took is given back instead of
// being held for the rest of the run.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace quillmark::cli {

// Storage kept from one use to the next: above what a batch of ordinary records needs (a
// batch holds at most 128 KiB of text or 1,024 lines, whose records take up to about 1 MiB,
// and a string's storage grows by doubling), far below the memory ceiling times the batches.
inline constexpr std::size_t kKeptStorage = 4 * 1024 * 1024;

// Empties the text; gives its storage back when it holds more than kKeptStorage.
inline void ClearKeepingSmallStorage(std::string& text) {
    if (text.capacity() > kKeptStorage) {
        std::string().swap(text);
    }
    text.clear();
}

// Bytes read from an input. Room for a read is not cleared first (a string zero-fills what it
// grows by, which cost the reading thread as much as the read); the storage is kept as
// ClearKeepingSmallStorage keeps a string's.
class ReadBuffer {
public:
    std::string_view View() const { return {data_.get(), size_}; }
    std::size_t size() const { return size_; }

    // Room for `count` bytes after the end, for a read to fill; Grow() keeps what it filled.
    char* Room(std::size_t count) {
        if (capacity_ - size_ < count) {
            const std::size_t capacity = std::max(2 * capacity_, size_ + count);
            auto data = std::make_unique_for_overwrite<char[]>(capacity);
            if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
            data_ = std::move(data);
            capacity_ = capacity;
        }
        return data_.get() + size_;
    }
    void Grow(std::size_t count) { size_ += count; }

    void Assign(std::string_view bytes) {
        size_ = 0;
        if (!bytes.empty()) std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
        size_ = bytes.size();
    }
    void Clear() {
        if (capacity_ > kKeptStorage) {
            data_.reset();
            capacity_ = 0;
        }
        size_ = 0;
    }

private:
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace quillmark::cli
