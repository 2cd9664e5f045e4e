// SPDX-License-Identifier: MIT
#pragma once
// Bit characters of single characters, shared by Binary and the word reader.

#include <array>
#include <string>
#include <string_view>

#include "decoder/byte_scan.h"
#include "decoder/utf8.h"

namespace quillmark {

// What a character that is not an upper-case hexadecimal digit contributes to a bit string.
inline constexpr std::string_view kNotHexBits = "ERROR";

inline constexpr std::array<std::string_view, 16> kNibbleBits{
    "0000", "0001", "0010", "0011", "0100", "0101", "0110", "0111",
    "1000", "1001", "1010", "1011", "1100", "1101", "1110", "1111",
};

// The four bit characters of an upper-case hexadecimal digit, "ERROR" for any other byte.
// Inline: the word reader calls it once per character.
inline std::string_view BitsOfByte(char c) {
    const int value = bytes::HexValue(c);
    return value >= 0 ? kNibbleBits[static_cast<std::size_t>(value)] : kNotHexBits;
}

// The bit string of a word of valid UTF-8, appended to `out`: every character gives its four
// bits or "ERROR" (a character of more than one byte is never a hexadecimal digit). The one
// place where whole bit strings are built; the decoder makes only the bits a cut reaches.
inline void AppendBits(std::string& out, std::string_view word) {
    for (std::size_t pos = 0; pos < word.size(); pos += utf8::CharSize(word.substr(pos)))
        out += bytes::IsAsciiByte(word[pos]) ? BitsOfByte(word[pos]) : kNotHexBits;
}

}  // namespace quillmark
