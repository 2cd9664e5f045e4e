// SPDX-License-Identifier: MIT
#pragma once
// UTF-8 and UTF-16 into each other, as the Windows side of quillmark-decode needs them for
// command lines, file names and the console. Nothing is lost silently: a byte sequence that is
// not UTF-8, or a surrogate without its partner, becomes one U+FFFD.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillmark::cli {

std::u16string Utf16FromUtf8(std::string_view text);
std::string Utf8FromUtf16(std::u16string_view text);

// The size of the well-formed UTF-8 character at the start of a non-empty text, or 0 when the
// text does not start with one.
std::size_t WellFormedCharacterSize(std::string_view text);

// The length of the text without a character that begins in it but ends after it, so that a
// text handed over in parts is converted whole characters at a time.
std::size_t WholeCharactersPrefix(std::string_view text);

}  // namespace quillmark::cli
