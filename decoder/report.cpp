// SPDX-License-Identifier: MIT
// The clipboard report and the input text tool that drops the first word.

#include <algorithm>
#include <array>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/short_copy.h"
#include "decoder/utf8.h"

namespace quillmark {

ResultCaptions CaptionsInLabelOrder(const DecodedFields& fields) {
    ResultCaptions captions;
    for (const FieldRow& row : kFields) captions[IndexOf(row.field)] = fields.*row.member;
    return captions;
}

namespace {

// The report's label texts are its own; some differ from the captions on screen. A decoded
// record is valid UTF-8 throughout, so its report is as long as its parts: made in one piece.
template <class TextOf>
void AppendReportLines(std::string& out, const TextOf& textOf, std::string_view lineEnd) {
    std::size_t size = 0;
    bool valid = true;
    for (const FieldRow& row : kFields) {
        const std::string_view text = textOf(row);
        valid = valid && utf8::IsValid(text);
        size += row.reportLabel.size() + text.size() + lineEnd.size();
    }
    if (!valid) {
        for (const FieldRow& row : kFields) {
            out += row.reportLabel;
            utf8::AppendSanitized(out, textOf(row));
            out += lineEnd;
        }
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + size);
    char* next = out.data() + start;
    for (const FieldRow& row : kFields) {
        const std::string_view text = textOf(row);
        next = CopyText(next, row.reportLabel);
        next = CopyText(next, text);
        next = CopyText(next, lineEnd);
    }
}

}  // namespace

std::string BuildReport(const ResultCaptions& captions) {
    std::string report;
    const auto caption = [&](const FieldRow& row) -> const std::string& { return captions[IndexOf(row.field)]; };
    AppendReportLines(report, caption, "\r\n");
    return report;
}

void AppendReport(std::string& out, const DecodedFields& fields, std::string_view lineEnd) {
    const auto text = [&](const FieldRow& row) -> const std::string& { return fields.*row.member; };
    AppendReportLines(out, text, lineEnd);
}

std::string TrimFirstWord(std::string_view text) {
    const auto space = text.find(' ');
    if (space == std::string_view::npos) return utf8::Sanitized(text);
    return utf8::Sanitized(text.substr(space + 1));
}

}  // namespace quillmark
