// SPDX-License-Identifier: MIT
#pragma once
#include <string>
#include <string_view>

#include "cli/RecordFormat.h"

namespace quillmark::cli {

// The report lines ended by LF; records are separated by one empty line. With
// Sources::Shown each report line is followed by its source, one line per run of characters
// (SourcesText), each indented by four blanks, and below a source whose word is not eight
// upper-case hexadecimal digits, its note:
//   Term Type: UNKNOWN
//       word 3, bit characters 20-24: 10011
//       note: word 3 has 9 characters, not 8
// With Headings::Shown (--log) each record opens with a heading line naming its input, line and
// BUG word ("log.txt:12: BUG0042") and ends with an empty line.
class ReportWriter final : public RecordWriter {
public:
    enum class Headings { Omitted, Shown };

    explicit ReportWriter(Sources sources = Sources::Omitted, Headings headings = Headings::Omitted)
        : sources_(sources), headings_(headings) {}

    void Append(std::string& out, const RecordView& record, const Explanation* sources,
                const MessageOrigin& origin) override;
    bool ShowsSources() const override { return sources_ == Sources::Shown; }
    std::string_view Separator() const override { return headings_ == Headings::Shown ? "" : "\n"; }

private:
    void AppendLines(std::string& out, const RecordView& record, const Explanation* sources);

    Sources sources_;
    Headings headings_;
    // The heading's opening for the input of the last record: its name as valid UTF-8 and ':'.
    bool fileKnown_ = false;
    std::string file_;
    std::string fileText_;
};

}  // namespace quillmark::cli
