// SPDX-License-Identifier: MIT
#include "cli/CsvWriter.h"

#include <array>
#include <charconv>

#include "decoder/byte_scan.h"
#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

constexpr std::string_view kRowEnd = "\r\n";

constexpr std::string_view kPointersSame = ",false";
constexpr std::string_view kPointersDiffer = ",true";

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
    if (!fileKnown_ || origin.file != file_) {
        file_.assign(origin.file);
        fileField_.clear();
        AppendCsvField(fileField_, file_);
        fileKnown_ = true;
    }
    out += fileField_;
    if (columns_ != Columns::Fields) {
        std::array<char, 24> number;
        out += ',';
        out.append(number.data(), std::to_chars(number.data(), number.data() + number.size(),
                                                origin.line.value_or(0))
                                      .ptr);
    }
    if (columns_ == Columns::LineAndBug) {
        out += ',';
        if (bytes::IsPlainCsv(origin.bug)) {
            out += origin.bug;
        } else {
            AppendCsvField(out, origin.bug);
        }
    }
    // Fields whose pieces need neither quotes nor a look at their UTF-8, the usual record, go
    // in as they stand, written in one piece of the size they take.
    std::size_t size = kRowEnd.size() + kFields.size() + kCodeFields.size();
    bool plain = true;
    for (const FieldRow& row : kFields) {
        for (std::string_view part : record.Shown(row.field).parts) {
            plain = plain && bytes::IsPlainCsv(part);
            size += part.size();
        }
    }
    for (Field field : kCodeFields) {
        plain = plain && bytes::IsPlainCsv(record.Code(field));
        size += record.Code(field).size();
    }
    const std::string_view pointers = record.PointersDiffer() ? kPointersDiffer : kPointersSame;
    if (plain) {
        const std::size_t start = out.size();
        out.resize(start + size + pointers.size());
        char* next = out.data() + start;
        for (const FieldRow& row : kFields) {
            *next++ = ',';
            for (std::string_view part : record.Shown(row.field).parts)
                next = bytes::CopyText(next, part);
        }
        next = bytes::CopyText(next, pointers);
        for (Field field : kCodeFields) {
            *next++ = ',';
            next = bytes::CopyText(next, record.Code(field));
        }
        bytes::CopyText(next, kRowEnd);
        return;
    }
    for (const FieldRow& row : kFields) {
        out += ',';
        record.Shown(row.field).AssignTo(text_);
        AppendCsvField(out, text_);
    }
    out += pointers;
    for (Field field : kCodeFields) {
        out += ',';
        AppendCsvField(out, record.Code(field));
    }
    out += kRowEnd;
}

}  // namespace quillmark::cli
