// SPDX-License-Identifier: MIT
// The clipboard report and the input text tool that drops the first word.

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "decoder/byte_scan.h"
#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/record_view.h"
#include "decoder/utf8.h"

namespace quillmark {

ResultCaptions CaptionsInLabelOrder(const DecodedFields& fields) { return fields.texts; }

// The report's label texts are its own; some differ from the captions on screen.
std::string BuildReport(const ResultCaptions& captions) {
    std::string report;
    for (const FieldRow& row : kFields) {
        report += row.reportLabel;
        utf8::AppendSanitized(report, captions[IndexOf(row.field)]);  // a caption may be any text
        report += "\r\n";
    }
    return report;
}

namespace {

// One report line of row I of the catalogue: its label is copied as a text of known size.
// In a record of a fixed shape (RecordView::FixedShape), a piece whose size the catalogue fixes
// is copied at that size.
template <std::size_t I, bool kFixedShape>
char* CopyReportLine(char* next, const TextParts& text, std::string_view lineEnd) {
    constexpr std::string_view kLabel = kFields[I].reportLabel;
    std::memcpy(next, kLabel.data(), kLabel.size());
    next += kLabel.size();
    if constexpr (kFixedShape) {
        next = CopyFixedShapeText<I>(next, text);
    } else {
        for (std::string_view part : text.parts)
            if (!part.empty()) next = bytes::CopyText(next, part);
    }
    return bytes::CopyText(next, lineEnd);
}

constexpr std::size_t kReportLabelsSize = [] {
    std::size_t size = 0;
    for (const FieldRow& row : kFields) size += row.reportLabel.size();
    return size;
}();

}  // namespace

void AppendReport(std::string& out, const RecordView& record, std::string_view lineEnd) {
    // The texts of a record read as views are valid UTF-8 throughout.
    std::size_t size = kReportLabelsSize + kFields.size() * lineEnd.size();
    for (const FieldRow& row : kFields) size += record.Shown(row.field).Size();
    const std::size_t start = out.size();
    out.resize(start + size);
    char* next = out.data() + start;
    const auto putLines = [&]<bool kFixedShape, std::size_t... I>(std::index_sequence<I...>) {
        ((next = CopyReportLine<I, kFixedShape>(next, record.Shown(kFields[I].field), lineEnd)),
         ...);
    };
    if (record.FixedShape()) {
        putLines.operator()<true>(std::make_index_sequence<kFields.size()>());
    } else {
        putLines.operator()<false>(std::make_index_sequence<kFields.size()>());
    }
}

std::string TrimFirstWord(std::string_view text) {
    const auto space = text.find(' ');
    if (space == std::string_view::npos) return utf8::Sanitized(text);
    return utf8::Sanitized(text.substr(space + 1));
}

}  // namespace quillmark
