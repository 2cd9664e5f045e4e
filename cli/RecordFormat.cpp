// SPDX-License-Identifier: MIT
#include "cli/RecordFormat.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include <nlohmann/json.hpp>

#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

// The codes inside "codes", in output order.
struct CodeKey {
    std::string_view key;
    std::string FieldCodes::*code;
};
constexpr std::array<CodeKey, 5> kCodeKeys{{{"MainPM", &FieldCodes::MainPM},
                                            {"AuxPM", &FieldCodes::AuxPM},
                                            {"TermType", &FieldCodes::TermType},
                                            {"OrigType", &FieldCodes::OrigType},
                                            {"Queue", &FieldCodes::Queue}}};

void AppendEscape(std::string& out, unsigned char c) {
    switch (c) {
        case '"': out += "\\\""; return;
        case '\\': out += "\\\\"; return;
        case '\b': out += "\\b"; return;
        case '\f': out += "\\f"; return;
        case '\n': out += "\\n"; return;
        case '\r': out += "\\r"; return;
        case '\t': out += "\\t"; return;
        default: {
            constexpr std::string_view kHex = "0123456789abcdef";
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
}

// Bytes before the first one that needs an escape (a control character, '"' or '\\'),
// looked at eight at a time.
std::size_t CharsWithoutEscape(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    // The top bit of each byte that is zero, or below 0x20; exact, never set by a neighbour.
    const auto zero = [](std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); };
    const auto control = [](std::uint64_t x) { return ~(((x & kLow7) + kOnes * 0x60) | x | kLow7); };
    std::size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        std::uint64_t block;
        std::memcpy(&block, text.data() + pos, 8);
        if ((zero(block ^ (kOnes * '"')) | zero(block ^ (kOnes * '\\')) | control(block)) != 0) {
            break;
        }
    }
    return pos;
}

// Writes `text` as a JSON string with the escapes the JSON library writes. The decoder's texts
// are valid UTF-8; any other text (an input's name) goes through the library, which puts U+FFFD
// for what is not.
void AppendJsonString(std::string& out, std::string_view text) {
    if (!utf8::IsValid(text)) {
        out += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
    }
    out += '"';
    std::size_t written = 0;
    std::size_t pos = CharsWithoutEscape(text);
    for (; pos < text.size(); ++pos) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        out.append(text.substr(written, pos - written));
        AppendEscape(out, c);
        written = pos + 1;
    }
    out.append(text.substr(written));
    out += '"';
}

}  // namespace

void AppendTextReport(std::string& out, const DecodedFields& fields) {
    AppendReport(out, fields, "\n");
}

JsonRecords::JsonRecords(bool withLine) : withLine_(withLine) {
    AppendJsonString(fileJson_, file_);
}

void JsonRecords::Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin) {
    if (origin.file != file_) {
        file_.assign(origin.file);
        fileJson_.clear();
        AppendJsonString(fileJson_, file_);
    }
    out += "{\"file\":";
    out += fileJson_;
    if (withLine_) {
        char digits[24];
        out += ",\"line\":";
        out.append(digits, std::to_chars(digits, digits + sizeof digits, origin.line.value_or(0)).ptr);
    }
    for (const FieldRow& row : kFields) {
        out += ",\"";
        out += row.key;  // keys are plain ASCII names
        out += "\":";
        AppendJsonString(out, fields.*row.member);
    }
    out += fields.PointersDiffer ? ",\"PointersDiffer\":true,\"codes\":{" : ",\"PointersDiffer\":false,\"codes\":{";
    for (const CodeKey& code : kCodeKeys) {
        if (&code != &kCodeKeys.front()) {
            out += ',';
        }
        out += '"';
        out += code.key;
        out += "\":";
        AppendJsonString(out, fields.Codes.*code.code);
    }
    out += "}}\n";
}

}  // namespace quillmark::cli
