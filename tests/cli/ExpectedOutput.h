// SPDX-License-Identifier: MIT
#pragma once
// What quillmark-decode should write for a text, worked out the way the window gets there: the
// text trimmed by "Trim Text", held by the input box, decoded and copied as the report. Shared
// by the process-level tests and the command-line fuzz target.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillmark::cli::test {

// The most characters the window's input box holds.
inline constexpr std::size_t kBoxCharacters = 65536;

// The window's "Copy Results" report for the text, with LF line ends.
std::string WindowReport(std::string_view text);
// The text after `presses` presses of "Trim Text".
std::string Trimmed(std::string text, unsigned long long presses);
// How many bytes of the text a paste into an empty box of `limit` characters keeps: at most
// `limit` UTF-16 units (a character beyond U+FFFF counts two; a broken UTF-8 sequence one, as
// the decoder reads it).
std::size_t HeldBytes(std::string_view text, std::size_t limit = kBoxCharacters);
// The text as a paste into the empty input box leaves it.
std::string Pasted(std::string_view text);
// The standard error line that tells of a cut in FILE at LINE.
std::string CutMessage(const std::string& file, unsigned long long line,
                       std::size_t limit = kBoxCharacters);

}  // namespace quillmark::cli::test
