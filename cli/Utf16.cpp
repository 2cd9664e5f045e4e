// SPDX-License-Identifier: MIT
#include "cli/Utf16.h"

#include <cstdint>

namespace quillmark::cli {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed sequence a lead byte starts, and the range its second byte must
// lie in (which rules out overlong forms, surrogates and values beyond U+10FFFF); 0 for a byte
// that cannot lead.
struct Lead {
    std::size_t size;
    unsigned char low, high;
};

Lead LeadOf(unsigned char byte) {
    if (byte < 0x80) return {1, 0, 0};
    if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
    if (byte == 0xE0) return {3, 0xA0, 0xBF};
    if (byte == 0xED) return {3, 0x80, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
    if (byte == 0xF0) return {4, 0x90, 0xBF};
    if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
    if (byte == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// The bytes of the character at the start of a non-empty text that are well-formed so far, and
// whether they make a whole character.
struct Step {
    std::size_t size;
    bool whole;
};

Step StepAt(std::string_view text) {
    const Lead lead = LeadOf(static_cast<unsigned char>(text[0]));
    if (lead.size <= 1) {
        return {1, lead.size == 1};
    }
    std::size_t size = 1;
    while (size < lead.size && size < text.size()) {
        const auto byte = static_cast<unsigned char>(text[size]);
        const bool fits = size == 1 ? byte >= lead.low && byte <= lead.high : IsContinuation(byte);
        if (!fits) {
            return {size, false};
        }
        ++size;
    }
    return {size, size == lead.size};
}

char32_t Decoded(std::string_view sequence) {
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1) {
        return lead;
    }
    char32_t value = lead & (0x7F >> sequence.size());
    for (std::size_t i = 1; i < sequence.size(); ++i) {
        value = (value << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    }
    return value;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Step step = StepAt(text);
        const char32_t c = step.whole ? Decoded(text.substr(0, step.size)) : kReplacement;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        text.remove_prefix(step.size);
    }
    return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t c = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::size_t WellFormedCharacterSize(std::string_view text) {
    const Step step = StepAt(text);
    return step.whole ? step.size : 0;
}

std::size_t WholeCharactersPrefix(std::string_view text) {
    // Only the last three bytes can start a character that is not yet complete.
    const std::size_t from = text.size() > 3 ? text.size() - 3 : 0;
    for (std::size_t at = from; at < text.size(); ++at) {
        const Lead lead = LeadOf(static_cast<unsigned char>(text[at]));
        if (lead.size > 1 && at + lead.size > text.size()) {
            const Step step = StepAt(text.substr(at));
            if (step.size == text.size() - at) {
                return at;  // well-formed so far and cut short
            }
        }
    }
    return text.size();
}

}  // namespace quillmark::cli
