// SPDX-License-Identifier: MIT
#include "cli/TerminalText.h"

#include "decoder/byte_scan.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

void AppendEscapedByte(unsigned char byte, std::string& out) {
    const auto [high, low] = bytes::LowerHexPair(byte);
    out += "\\x";
    out += high;
    out += low;
}

bool IsShownAsIs(unsigned char byte) { return (byte >= 0x20 && byte < 0x7F) || byte == '\n'; }

}  // namespace

void AppendEscapedForTerminal(std::string_view text, std::string& out) {
    out.reserve(out.size() + text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t plain = at;
        while (plain < text.size() && IsShownAsIs(static_cast<unsigned char>(text[plain]))) {
            ++plain;
        }
        out.append(text, at, plain - at);
        at = plain;
        if (at == text.size()) {
            break;
        }
        const auto byte = static_cast<unsigned char>(text[at]);
        const utf8::Scan scan = utf8::ScanChar(text.substr(at));
        const std::size_t size = scan.status == utf8::Status::Valid ? scan.size : 0;
        const bool c1 =
            byte == 0xC2 && size == 2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
        if (size <= 1 || c1) {
            // A control character, or a byte that does not begin a whole character.
            const std::size_t escaped = c1 ? 2 : 1;
            for (std::size_t k = 0; k < escaped; ++k) {
                AppendEscapedByte(static_cast<unsigned char>(text[at + k]), out);
            }
            at += escaped;
        } else {
            out.append(text, at, size);
            at += size;
        }
    }
}

}  // namespace quillmark::cli
