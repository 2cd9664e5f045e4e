// SPDX-License-Identifier: MIT
#pragma once
// The one UTF-8 reader: scanning characters, their code points, writing them, and UTF-16 both
// ways (the input box counts in UTF-16 units, Windows names and consoles are UTF-16).
//
// A pasted dump may hold any bytes. Every character is scanned as one unit; a byte sequence
// that is not UTF-8 becomes one U+FFFD per maximal invalid subsequence, the way common
// decoders (and the Unicode recommendation on substitution) count them. A UTF-16 surrogate
// without its partner becomes one U+FFFD as well.
//
// The bit patterns of lead and continuation bytes stay here, beside the rules they serve;
// skipping runs of ASCII fast, and any other look at many bytes at once, is byte_scan.h's.

#include <cstddef>
#include <string>
#include <string_view>

#include "decoder/byte_scan.h"

namespace quillmark::utf8 {

inline constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
inline constexpr char32_t kReplacementCodePoint = 0xFFFD;

enum class Status {
    Valid,      // a whole, well-formed character
    Invalid,    // a maximal invalid subsequence: shown as one U+FFFD
    Truncated,  // the text ends inside a character that could still be completed
};

struct Scan {
    Status status;
    std::size_t size;  // bytes taken by this character, at least 1
};

inline bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Scans the character at the start of a non-empty text.
Scan ScanChar(std::string_view text);

// The code point of the character that `scan` describes at the start of `text`; U+FFFD for a
// broken one.
inline char32_t CodePoint(std::string_view text, Scan scan) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (scan.status != Status::Valid) return kReplacementCodePoint;
    switch (scan.size) {
        case 1: return byte(0);
        case 2: return ((byte(0) & 0x1FU) << 6) | (byte(1) & 0x3FU);
        case 3: return ((byte(0) & 0x0FU) << 12) | ((byte(1) & 0x3FU) << 6) | (byte(2) & 0x3FU);
        default:
            return ((byte(0) & 0x07U) << 18) | ((byte(1) & 0x3FU) << 12) |
                   ((byte(2) & 0x3FU) << 6) | (byte(3) & 0x3FU);
    }
}

// Appends the character that `scan` describes at the start of `text`, or U+FFFD for a broken one.
inline void AppendChar(std::string& out, std::string_view text, Scan scan) {
    if (scan.status == Status::Valid)
        out.append(text.data(), scan.size);
    else
        out.append(kReplacement);
}

// Size in bytes of the character at the start of a non-empty text; an unfinished character at
// the end of the text counts as one (replaced) character.
inline std::size_t CharSize(std::string_view text) {
    if (bytes::IsAsciiByte(text.front())) return 1;
    return ScanChar(text).size;
}

// Appends the UTF-8 form of a code point up to U+10FFFF.
void AppendCodePoint(std::string& out, char32_t c);

// Characters of a text, a broken sequence counting as one.
std::size_t CharCount(std::string_view text);

// The length of the text without a character that begins in it and that more bytes could still
// complete, so that a text handed over in parts is converted whole characters at a time. A
// broken sequence is not waited for.
std::size_t WholeCharsPrefix(std::string_view text);

bool IsValid(std::string_view text);

// The text unchanged when it is valid UTF-8, otherwise with every broken sequence replaced.
std::string Sanitized(std::string_view text);
void AppendSanitized(std::string& out, std::string_view text);

// ---- UTF-16 ---------------------------------------------------------------------------------

inline bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Units of the character at `at` of a UTF-16 text: two for a surrogate pair, one for any other
// unit (a surrogate without its partner is a character of its own).
inline std::size_t Utf16CharSize(std::u16string_view text, std::size_t at) {
    return IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]) ? 2
                                                                                             : 1;
}

// UTF-16 units of the character a scan describes: two beyond U+FFFF, one for any other and for
// the U+FFFD that stands for a broken one.
inline std::size_t Utf16Units(Scan scan) {
    return scan.status == Status::Valid && scan.size == 4 ? 2 : 1;
}

// UTF-16 units that a byte of UTF-8 adds to the text: two for the lead of a character
// beyond U+FFFF, none for a continuation byte, one for any other.
constexpr std::size_t Utf16UnitsOfByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) return 1;
    if (byte < 0xC0) return 0;
    return byte >= 0xF0 ? 2 : 1;
}

std::u16string ToUtf16(std::string_view text);
std::string FromUtf16(std::u16string_view text);

}  // namespace quillmark::utf8
