// SPDX-License-Identifier: MIT
// Binary, BinVal and the clipping substring helpers. Positions count characters.

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

std::string MidText(std::string_view s, std::size_t start, std::size_t length) {
    std::size_t pos = 0;
    for (std::size_t skip = start > 0 ? start - 1 : 0; skip > 0 && pos < s.size(); --skip)
        pos += utf8::CharSize(s.substr(pos));

    std::string out;
    for (; length > 0 && pos < s.size(); --length) {
        const std::string_view rest = s.substr(pos);
        const utf8::Scan scan = static_cast<unsigned char>(rest.front()) < 0x80
                                    ? utf8::Scan{utf8::Status::Valid, 1}
                                    : utf8::ScanChar(rest);
        utf8::AppendChar(out, rest, scan);
        pos += scan.size;
    }
    return out;
}

std::string RightText(std::string_view s, std::size_t count) {
    if (count == 0) return {};
    // Fast path: a tail of plain ASCII bytes is that many characters.
    if (count <= s.size()) {
        const std::string_view tail = s.substr(s.size() - count);
        bool ascii = true;
        for (char c : tail) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (ascii) return std::string(tail);
    }
    // Every byte that is not a continuation byte starts a character, however broken the text
    // around it, so counting can start at such a byte and go forward. Walk back from the end
    // one such segment at a time until the tail holds enough characters. A lead byte carries
    // at most three continuation bytes, so a fourth one in a row stands alone: the walk never
    // looks more than four bytes back per character.
    std::size_t from = s.size();
    std::size_t chars = 0;
    while (from > 0 && chars < count) {
        std::size_t segment = from - 1;
        while (segment > 0 && from - segment < 4 &&
               utf8::IsContinuation(static_cast<unsigned char>(s[segment])))
            --segment;
        if (utf8::IsContinuation(static_cast<unsigned char>(s[segment])) && from - segment >= 4)
            segment = from - 1;  // a stray continuation byte
        for (std::size_t pos = segment; pos < from; ++chars)
            pos += utf8::CharSize(s.substr(pos, from - pos));
        from = segment;
    }
    // The tail [from, end) holds `chars` characters; drop the surplus at its front.
    std::size_t pos = from;
    for (; chars > count; --chars) pos += utf8::CharSize(s.substr(pos));
    return MidText(s.substr(pos), 1, count);
}

}  // namespace quillmark
