#pragma once
// Bit characters of single characters, shared by Binary and the word reader.

#include <string_view>

namespace quillmark {

// What a character that is not an upper-case hexadecimal digit contributes to a bit string.
inline constexpr std::string_view kNotHexBits = "ERROR";

// The four bit characters of an upper-case hexadecimal digit, "ERROR" for any other byte.
std::string_view BitsOfByte(char c);

}  // namespace quillmark
