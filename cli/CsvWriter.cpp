// SPDX-License-Identifier: MIT
#include "cli/CsvWriter.h"

#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

constexpr std::string_view kRowEnd = "\r\n";

}  // namespace

void AppendCsvField(std::string& out, std::string_view text) {
    const std::string valid = utf8::Sanitized(text);
    if (valid.find_first_of(",\"\r\n") == std::string::npos) {
        out += valid;
        return;
    }
    out += '"';
    for (char c : valid) {
        out += c;
        if (c == '"') out += '"';
    }
    out += '"';
}

std::string CsvWriter::Header() const {
    std::string out = "file";
    if (columns_ != Columns::Fields) out += ",line";
    if (columns_ == Columns::LineAndBug) out += ",bug";
    for (const FieldRow& row : kFields) {
        out += ',';
        out += row.key;
    }
    out += ",PointersDiffer";
    for (Field field : kCodeFields) {
        out += ",codes.";
        out += RowOf(field).key;
    }
    out += kRowEnd;
    return out;
}

void CsvWriter::Append(std::string& out, const RecordView& record, const Explanation*,
                       const MessageOrigin& origin) {
    AppendCsvField(out, origin.file);
    if (columns_ != Columns::Fields) {
        out += ',';
        out += std::to_string(origin.line.value_or(0));
    }
    if (columns_ == Columns::LineAndBug) {
        out += ',';
        AppendCsvField(out, origin.bug);
    }
    std::string text;
    for (const FieldRow& row : kFields) {
        record.Shown(row.field).AssignTo(text);
        out += ',';
        AppendCsvField(out, text);
    }
    out += record.PointersDiffer() ? ",true" : ",false";
    for (Field field : kCodeFields) {
        out += ',';
        AppendCsvField(out, record.Code(field));
    }
    out += kRowEnd;
}

}  // namespace quillmark::cli
