// SPDX-License-Identifier: MIT
#include "cli/ReportWriter.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "cli/SourceNotes.h"
#include "decoder/byte_scan.h"
#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"

namespace quillmark::cli {

void ReportWriter::Append(std::string& out, const RecordView& record, const Explanation* sources,
                          const MessageOrigin& origin) {
    if (headings_ == Headings::Omitted) {
        AppendLines(out, record, sources);
        return;
    }
    if (!fileKnown_ || origin.file != file_) {
        file_.assign(origin.file);
        fileText_.clear();
        utf8::AppendSanitized(fileText_, origin.file);
        fileText_ += ':';
        fileKnown_ = true;
    }
    out += fileText_;
    std::array<char, 24> number;
    const char* const end =
        std::to_chars(number.data(), number.data() + number.size(), origin.line.value_or(0)).ptr;
    out.append(number.data(), static_cast<std::size_t>(end - number.data()));
    out += ": ";
    // A BUG word is ASCII, valid UTF-8 as it stands.
    if (bytes::IsAscii(origin.bug)) {
        out += origin.bug;
    } else {
        utf8::AppendSanitized(out, origin.bug);
    }
    out += '\n';
    AppendLines(out, record, sources);
    out += '\n';
}

void ReportWriter::AppendLines(std::string& out, const RecordView& record,
                               const Explanation* sources) {
    if (sources == nullptr) {
        AppendReport(out, record, "\n");
        return;
    }
    // Each report line, then the field's source lines below it.
    for (const FieldRow& row : kFields) {
        out += row.reportLabel;
        for (std::string_view part : record.Shown(row.field).parts) out += part;
        out += '\n';
        const std::string text =
            NotedSourcesText(row.field, sources->sources[IndexOf(row.field)], sources->notes);
        for (std::size_t begin = 0; begin <= text.size();) {
            const std::size_t end = std::min(text.find('\n', begin), text.size());
            out += "    ";
            utf8::AppendSanitized(out, std::string_view(text).substr(begin, end - begin));
            out += '\n';
            begin = end + 1;
        }
    }
}

}  // namespace quillmark::cli
