// SPDX-License-Identifier: MIT
#include "cli/CsvWriter.h"

#include <array>
#include <charconv>
#include <cstring>
#include <utility>

#include "decoder/byte_scan.h"
#include "decoder/field_catalogue.h"
#include "decoder/record_view.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

constexpr std::string_view kRowEnd = "\r\n";

constexpr std::string_view kPointersSame = ",false";
constexpr std::string_view kPointersDiffer = ",true";

// A record of a fixed shape (RecordView::FixedShape): its words, codes, pointers and digits are
// hexadecimal digits and plain text without a comma, so only the names are looked at, and a
// piece whose size the catalogue fixes is copied at that size. False, with nothing written,
// when a name needs quotes.
bool AppendFixedRow(std::string& out, const RecordView& record, std::string_view pointers) {
    std::size_t size = kRowEnd.size() + kFields.size() + kCodeFields.size() + pointers.size();
    bool plain = true;
    const auto measure = [&]<std::size_t... I>(std::index_sequence<I...>) {
        const auto one = [&]<std::size_t F>(std::integral_constant<std::size_t, F>) {
            constexpr FixedPieces kPieces = FixedPiecesOf(kFields[F]);
            const TextParts& text = record.Shown(kFields[F].field);
            if constexpr (kPieces.fixed) {
                size += kPieces.sizes[0] + kPieces.sizes[1] + kPieces.sizes[2];
            } else {
                size += text.Size();
                if constexpr (HasCode(kFields[F]))
                    plain = plain && bytes::IsPlainCsv(text.parts[0]);
            }
        };
        (one(std::integral_constant<std::size_t, I>()), ...);
    };
    measure(std::make_index_sequence<kFields.size()>());
    if (!plain) return false;
    for (Field field : kCodeFields) size += EightDigitCutSize(RowOf(field));
    const std::size_t start = out.size();
    out.resize(start + size);
    char* next = out.data() + start;
    const auto put = [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((*next++ = ',', next = CopyFixedShapeText<I>(next, record.Shown(kFields[I].field))), ...);
    };
    put(std::make_index_sequence<kFields.size()>());
    next = bytes::CopyText(next, pointers);
    const auto putCodes = [&]<std::size_t... C>(std::index_sequence<C...>) {
        ((*next++ = ',',
          std::memcpy(next, record.Code(kCodeFields[C]).data(),
                      EightDigitCutSize(RowOf(kCodeFields[C]))),
          next += EightDigitCutSize(RowOf(kCodeFields[C]))),
         ...);
    };
    putCodes(std::make_index_sequence<kCodeFields.size()>());
    bytes::CopyText(next, kRowEnd);
    return true;
}

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
    const std::string_view pointers = record.PointersDiffer() ? kPointersDiffer : kPointersSame;
    if (record.FixedShape() && AppendFixedRow(out, record, pointers)) return;
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
