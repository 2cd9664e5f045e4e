// SPDX-License-Identifier: MIT
#include "cli/RecordFormat.h"

#include <charconv>
#include <cstdint>
#include <algorithm>
#include <cstring>

#include <nlohmann/json.hpp>

#include "decoder/field_catalogue.h"
#include "decoder/short_copy.h"
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

// The escape the JSON library writes for a byte, or nothing: '"', '\\', the short forms of five
// control characters, \u00xx (lower case) for the other bytes below 0x20.
std::string_view EscapeOf(unsigned char c, std::array<char, 6>& buffer) {
    switch (c) {
        case '"': return "\\\"";
        case '\\': return "\\\\";
        case '\b': return "\\b";
        case '\f': return "\\f";
        case '\n': return "\\n";
        case '\r': return "\\r";
        case '\t': return "\\t";
        default:
            if (c >= 0x20) {
                return {};
            }
            constexpr std::string_view kHex = "0123456789abcdef";
            buffer = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0x0F]};
            return {buffer.data(), buffer.size()};
    }
}

// Bytes before the first one that needs an escape (a control character, '"' or '\\') or that
// is not ASCII, looked at eight at a time.
std::size_t PlainAsciiPrefix(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    // The top bit of each byte that is zero, or below 0x20, or not ASCII; never set by a neighbour.
    const auto zero = [](std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); };
    const auto control = [](std::uint64_t x) { return ~(((x & kLow7) + kOnes * 0x60) | x | kLow7); };
    const auto clean = [&](std::size_t at) {
        std::uint64_t block;
        std::memcpy(&block, text.data() + at, 8);
        return (zero(block ^ (kOnes * '"')) | zero(block ^ (kOnes * '\\')) | control(block) | (block & ~kLow7)) == 0;
    };
    std::size_t pos = 0;
    while (pos + 8 <= text.size() && clean(pos)) {
        pos += 8;
    }
    // The last few bytes are looked at as the last eight.
    if (pos < text.size() && pos + 8 > text.size() && text.size() >= 8 && clean(text.size() - 8)) {
        pos = text.size();
    }
    return pos;
}

// Writes a record in place: room for the longest it can be is made first (an escape is at most
// six bytes for one), and what is left over is cut off at the end.
class InPlaceText {
public:
    InPlaceText(std::string& out, std::size_t most) : out_(out), start_(out.size()) {
        out_.resize(start_ + most);
        next_ = out_.data() + start_;
    }
    void Raw(std::string_view text) { next_ = CopyText(next_, text); }
    // False, with the record unfinished, when the text is not valid UTF-8.
    bool String(std::string_view text) {
        *next_++ = '"';
        std::size_t written = 0;
        std::array<char, 6> buffer;
        for (std::size_t pos = PlainAsciiPrefix(text); pos < text.size(); ++pos) {
            const auto c = static_cast<unsigned char>(text[pos]);
            if (c >= 0x80) {
                const utf8::Scan scan = utf8::ScanChar(text.substr(pos));
                if (scan.status != utf8::Status::Valid) {
                    return false;
                }
                pos += scan.size - 1;
                continue;
            }
            const std::string_view escape = EscapeOf(c, buffer);
            if (escape.empty()) {
                continue;
            }
            Raw(text.substr(written, pos - written));
            Raw(escape);
            written = pos + 1;
        }
        Raw(text.substr(written));
        *next_++ = '"';
        return true;
    }
    void Finish() { out_.resize(static_cast<std::size_t>(next_ - out_.data())); }
    void Abandon() { out_.resize(start_); }

private:
    std::string& out_;
    std::size_t start_;
    char* next_;
};

constexpr std::size_t MostJsonSize(std::string_view text) {
    return 2 + 6 * text.size();
}

// The record's parts in order: the fixed text between the values, and the values.
template <class RawPart, class TextPart>
void RecordParts(const DecodedFields& fields, const RawPart& raw, const TextPart& text) {
    for (const FieldRow& row : kFields) {
        raw(",\"");
        raw(row.key);  // keys are plain ASCII names
        raw("\":");
        text(fields.*row.member);
    }
    raw(fields.PointersDiffer ? ",\"PointersDiffer\":true,\"codes\":{" : ",\"PointersDiffer\":false,\"codes\":{");
    for (const CodeKey& code : kCodeKeys) {
        raw(&code == &kCodeKeys.front() ? "\"" : ",\"");
        raw(code.key);
        raw("\":");
        text(fields.Codes.*code.code);
    }
    raw("}}\n");
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    InPlaceText writer(out, MostJsonSize(text));
    if (writer.String(text)) {
        writer.Finish();
        return;
    }
    writer.Abandon();
    out += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void ReportWriter::Append(std::string& out, const DecodedFields& fields, const MessageOrigin&) {
    AppendReport(out, fields, "\n");
}

void ReportWriter::AppendWithSources(std::string& out, const DecodedFields& fields, const FieldSources& sources,
                                     const MessageOrigin&) {
    // Each line as the report writes it (text that is not valid UTF-8 gets U+FFFD), then the
    // field's source lines below it.
    for (const FieldRow& row : kFields) {
        out += row.reportLabel;
        utf8::AppendSanitized(out, fields.*row.member);
        out += '\n';
        const std::string text = SourcesText(row.field, sources[IndexOf(row.field)]);
        for (std::size_t begin = 0; begin <= text.size();) {
            const std::size_t end = std::min(text.find('\n', begin), text.size());
            out += "    ";
            utf8::AppendSanitized(out, std::string_view(text).substr(begin, end - begin));
            out += '\n';
            begin = end + 1;
        }
    }
}

JsonWriter::JsonWriter(LineKey lineKey, Sources sources) : lineKey_(lineKey), sources_(sources) {}

void JsonWriter::AppendWithSources(std::string& out, const DecodedFields& fields, const FieldSources& sources,
                                   const MessageOrigin& origin) {
    Append(out, fields, origin);
    // The record ends in "}\n": the sources go inside its closing brace.
    out.resize(out.size() - 2);
    out += ",\"sources\":{";
    for (const FieldRow& row : kFields) {
        out += &row == &kFields.front() ? "\"" : ",\"";
        out += row.key;
        out += "\":[";
        bool first = true;
        for (const Source& source : sources[IndexOf(row.field)]) {
            out += first ? "{\"word\":" : ",{\"word\":";
            first = false;
            out += std::to_string(source.word);
            out += ",\"of\":\"";
            out += OfName(source.of);
            out += "\",\"start\":";
            out += std::to_string(source.start);
            out += ",\"length\":";
            out += std::to_string(source.length);
            out += ",\"text\":";
            AppendJsonString(out, source.text);
            out += '}';
        }
        out += ']';
    }
    out += "}}\n";
}

void JsonWriter::Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin) {
    if (!fileKnown_ || origin.file != file_) {
        file_.assign(origin.file);
        fileJson_.clear();
        AppendJsonString(fileJson_, file_);
        fileKnown_ = true;
    }
    const bool withLine = lineKey_ == LineKey::Written;
    char digits[24];
    const std::string_view line(digits, withLine
        ? static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, origin.line.value_or(0)).ptr - digits)
        : 0);
    const auto head = [&](const auto& raw) {
        raw("{\"file\":");
        raw(fileJson_);
        if (withLine) {
            raw(",\"line\":");
            raw(line);
        }
    };

    std::size_t most = 0;
    const auto countRaw = [&most](std::string_view part) { most += part.size(); };
    head(countRaw);
    RecordParts(fields, countRaw, [&most](std::string_view text) { most += MostJsonSize(text); });

    InPlaceText writer(out, most);
    bool valid = true;
    const auto writeRaw = [&writer](std::string_view part) { writer.Raw(part); };
    head(writeRaw);
    RecordParts(fields, writeRaw, [&](std::string_view text) { valid = valid && writer.String(text); });
    if (valid) {
        writer.Finish();
        return;
    }
    // A record filled by hand may hold any bytes: written again, each text as the library writes it.
    writer.Abandon();
    head([&out](std::string_view part) { out += part; });
    RecordParts(fields, [&out](std::string_view part) { out += part; },
                [&out](std::string_view text) { AppendJsonString(out, text); });
}

RecordWriterFactory ChooseRecordWriter(const DecodeOptions& options) {
    const Sources sources = options.explain ? Sources::Shown : Sources::Omitted;
    if (!options.json) {
        return [sources] { return std::make_unique<ReportWriter>(sources); };
    }
    const auto lineKey = options.lines ? JsonWriter::LineKey::Written : JsonWriter::LineKey::Omitted;
    return [lineKey, sources] { return std::make_unique<JsonWriter>(lineKey, sources); };
}

}  // namespace quillmark::cli
