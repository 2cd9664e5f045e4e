// SPDX-License-Identifier: MIT
#pragma once
// Output meant for a terminal, made harmless: a dump may hold bytes that a terminal takes as
// commands (ESC ] 0 ; title BEL retitles it; other sequences can do worse). Control characters
// are written as visible escapes instead, as ls and git show unusual file names:
//   - C0 controls (0x00-0x1F) but the line feed, and DEL (0x7F): "\x1b", "\x7f"
//   - C1 controls, U+0080-U+009F, whose UTF-8 form is C2 80 to C2 9F: "\xc2\x9b"
//   - bytes that are not part of well-formed UTF-8 (a terminal in an 8-bit mode would take
//     0x9B alone as a control): "\x9b"
// Every other character, plain ASCII and well-formed UTF-8, is written as it is. The line feed
// stays, as the report is made of lines.

#include <string>
#include <string_view>

namespace quillmark::cli {

void AppendEscapedForTerminal(std::string_view text, std::string& out);

}  // namespace quillmark::cli
