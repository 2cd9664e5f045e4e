// SPDX-License-Identifier: MIT
#include "cli/RecordFormat.h"

#include <charconv>

#include <nlohmann/json.hpp>

#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

// The record's text keys in output order, after "file" (and "line"): the fields by their
// catalogue keys, then the codes inside "codes".
constexpr std::array<const char*, 5> kCodeKeys{"MainPM", "AuxPM", "TermType", "OrigType", "Queue"};

std::array<const std::string*, 5> CodeTexts(const FieldCodes& c) {
    return {&c.MainPM, &c.AuxPM, &c.TermType, &c.OrigType, &c.Queue};
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

void AppendReport(std::string& out, const ResultCaptions& captions, std::string_view lineEnd) {
    for (const FieldRow& row : kFields) {
        out += row.reportLabel;
        out += captions[IndexOf(row.field)];
        out += lineEnd;
    }
}

void ReportWriter::Append(std::string& out, const DecodedFields& fields, const MessageOrigin&) {
    AppendReport(out, CaptionsInLabelOrder(fields), "\n");
}

void AppendJsonString(std::string& out, std::string_view text) {
    if (!IsAscii(text) && !utf8::IsValid(text)) {
        // Broken UTF-8 (only ever in a file name): the JSON library replaces it.
        nlohmann::detail::serializer<nlohmann::ordered_json> serializer(
            nlohmann::detail::output_adapter<char>(out), ' ',
            nlohmann::ordered_json::error_handler_t::replace);
        serializer.dump(nlohmann::ordered_json(std::string(text)), false, false, 0);
        return;
    }
    out += '"';
    std::size_t run = 0;  // start of the characters not yet written
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        out.append(text, run, at - run);
        run = at + 1;
        out += '\\';
        switch (c) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '\b': out += 'b'; break;
        case '\f': out += 'f'; break;
        case '\n': out += 'n'; break;
        case '\r': out += 'r'; break;
        case '\t': out += 't'; break;
        default: {
            constexpr std::string_view kHex = "0123456789abcdef";
            out += "u00";
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
        }
    }
    out.append(text, run, text.size() - run);
    out += '"';
}

JsonWriter::JsonWriter(LineKey lineKey) : lineKey_(lineKey) {}

void JsonWriter::Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin) {
    if (!fileKnown_ || origin.file != file_) {
        file_.assign(origin.file);
        fileJson_.clear();
        AppendJsonString(fileJson_, file_);
        fileKnown_ = true;
    }
    out += "{\"file\":";
    out += fileJson_;
    if (lineKey_ == LineKey::Written) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, origin.line.value_or(0)).ptr;
        out += ",\"line\":";
        out.append(digits, end);
    }
    for (const FieldRow& row : kFields) {
        out += ",\"";
        out += row.key;
        out += "\":";
        AppendJsonString(out, fields.*row.member);
    }
    out += fields.PointersDiffer ? ",\"PointersDiffer\":true,\"codes\":{"
                                 : ",\"PointersDiffer\":false,\"codes\":{";
    std::size_t k = 0;
    for (const std::string* text : CodeTexts(fields.Codes)) {
        out += k > 0 ? ",\"" : "\"";
        out += kCodeKeys[k++];
        out += "\":";
        AppendJsonString(out, *text);
    }
    out += "}}\n";
}

RecordWriterFactory ChooseRecordWriter(const DecodeOptions& options) {
    if (!options.json) {
        return [] { return std::make_unique<ReportWriter>(); };
    }
    const auto lineKey = options.lines ? JsonWriter::LineKey::Written : JsonWriter::LineKey::Omitted;
    return [lineKey] { return std::make_unique<JsonWriter>(lineKey); };
}

}  // namespace quillmark::cli
