// SPDX-License-Identifier: MIT
#pragma once
// Copying the short texts a record is made of (labels, keys, words of a few characters): two
// overlapping loads and stores instead of a call per text. Never reads or writes outside the
// source and the destination.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillmark {

inline char* CopyText(char* to, std::string_view from) {
    const char* source = from.data();
    const std::size_t size = from.size();
    if (size >= 8 && size <= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, source, 8);
        std::memcpy(&tail, source + size - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + size - 8, &tail, 8);
    } else if (size >= 4 && size < 8) {
        std::uint32_t head, tail;
        std::memcpy(&head, source, 4);
        std::memcpy(&tail, source + size - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + size - 4, &tail, 4);
    } else if (size < 4) {
        for (std::size_t i = 0; i < size; ++i) to[i] = source[i];
    } else {
        std::memcpy(to, source, size);
    }
    return to + size;
}

}  // namespace quillmark
