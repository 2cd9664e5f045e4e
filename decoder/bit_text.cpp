// SPDX-License-Identifier: MIT
// Binary, BinVal and the clipping substring helpers. Positions count characters.

#include <algorithm>
#include <array>

#include "decoder/bits.h"
#include "decoder/decoder.h"
#include "decoder/utf8.h"

namespace quillmark {

std::string Binary(std::string_view charArg) {
    if (charArg.empty()) return {};
    const auto first = charArg.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::string(kNotHexBits);
    const auto last = charArg.find_last_not_of(' ');
    if (last != first) return std::string(kNotHexBits);  // two or more characters
    return std::string(BitsOfByte(charArg[first]));
}

int BinVal(std::string_view charArg) {
    // Where the first five bytes are ASCII (bit characters always are), character n is byte n.
    const std::string_view head = charArg.substr(0, 5);
    if (bytes::IsAscii(head)) {
        int value = 0;
        for (char c : head) value = 2 * value + (c == '1' ? 1 : 0);
        return value << (5 - head.size());
    }
    int value = 0;
    int weight = 16;
    std::size_t pos = 0;
    while (weight > 0 && pos < charArg.size()) {
        if (charArg[pos] == '1') value += weight;
        pos += utf8::CharSize(charArg.substr(pos));
        weight /= 2;
    }
    return value;
}

// Both as the decoder cuts a word: text that is not valid UTF-8 is read with U+FFFD first.
std::string MidText(std::string_view s, std::size_t start, std::size_t length) {
    return CutOf(s, Mid(std::max<std::size_t>(start, 1), length));
}

std::string RightText(std::string_view s, std::size_t count) { return CutOf(s, Right(count)); }

}  // namespace quillmark
