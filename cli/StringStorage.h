// SPDX-License-Identifier: MIT
#pragma once
// Buffers that are refilled for every message keep their storage, so that ordinary messages
// cost no allocation; storage that one unusually large text took is given back instead of
// being held for the rest of the run.

#include <cstddef>
#include <string>

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

}  // namespace quillmark::cli
