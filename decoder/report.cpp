// SPDX-License-Identifier: MIT
// The clipboard report and the input text tool that drops the first word.

#include <array>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"

namespace quillmark {

ResultCaptions CaptionsInLabelOrder(const DecodedFields& fields) {
    ResultCaptions captions;
    for (const FieldRow& row : kFields) captions[IndexOf(row.field)] = fields.*row.member;
    return captions;
}

std::string BuildReport(const ResultCaptions& captions) {
    std::string report;
    // The report's label texts are its own; some differ from the captions on screen.
    for (const FieldRow& row : kFields) {
        report += row.reportLabel;
        report += utf8::Sanitized(captions[IndexOf(row.field)]);
        report += "\r\n";
    }
    return report;
}

std::string TrimFirstWord(std::string_view text) {
    const auto space = text.find(' ');
    if (space == std::string_view::npos) return utf8::Sanitized(text);
    return utf8::Sanitized(text.substr(space + 1));
}

}  // namespace quillmark
