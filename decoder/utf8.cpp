// SPDX-License-Identifier: MIT
#include "decoder/utf8.h"

namespace quillmark::utf8 {

Scan ScanChar(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return {Status::Valid, 1};

    // Bytes that follow the lead; the second byte's range is narrower for some leads, which
    // excludes overlong forms, surrogates and code points beyond U+10FFFF.
    std::size_t following = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {Status::Invalid, 1};  // stray continuation byte, C0, C1 or F5..FF
    }

    for (std::size_t i = 1; i <= following; ++i) {
        if (i >= text.size()) return {Status::Truncated, i};
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < low || byte > high) return {Status::Invalid, i};
        low = 0x80;
        high = 0xBF;
    }
    return {Status::Valid, following + 1};
}

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += CharSize(text.substr(pos))) ++count;
    return count;
}

void AppendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    // The lead byte's marker and the number of continuation bytes, six bits each.
    const int following = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    constexpr unsigned char kLeads[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLeads[following] | (c >> (6 * following)));
    for (int shift = 6 * (following - 1); shift >= 0; shift -= 6)
        out += static_cast<char>(0x80 | ((c >> shift) & 0x3F));
}

std::size_t WholeCharsPrefix(std::string_view text) {
    // Only the last three bytes can start a character that is not yet complete.
    for (std::size_t at = text.size() > 3 ? text.size() - 3 : 0; at < text.size(); ++at)
        if (ScanChar(text.substr(at)).status == Status::Truncated) return at;
    return text.size();
}

bool IsValid(std::string_view text) {
    std::size_t pos = bytes::AsciiPrefix(text);
    while (pos < text.size()) {
        if (bytes::IsAsciiByte(text[pos])) {
            ++pos;
            continue;
        }
        const Scan scan = ScanChar(text.substr(pos));
        if (scan.status != Status::Valid) return false;
        pos += scan.size;
    }
    return true;
}

void AppendSanitized(std::string& out, std::string_view text) {
    if (IsValid(text)) {
        out.append(text);
        return;
    }
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::string_view rest = text.substr(pos);
        const Scan scan = ScanChar(rest);
        AppendChar(out, rest, scan);
        pos += scan.size;
    }
}

std::string Sanitized(std::string_view text) {
    if (IsValid(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    AppendSanitized(out, text);
    return out;
}

std::u16string ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::string_view rest = text.substr(pos);
        const Scan scan = ScanChar(rest);
        const char32_t c = CodePoint(rest, scan);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        pos += scan.size;
    }
    return out;
}

std::string FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t size = Utf16CharSize(text, i);
        char32_t c = text[i];
        if (size == 2)
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = kReplacementCodePoint;
        AppendCodePoint(out, c);
        i += size;
    }
    return out;
}

}  // namespace quillmark::utf8
