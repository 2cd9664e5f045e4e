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
class ReportWriter final : public RecordWriter {
public:
    explicit ReportWriter(Sources sources = Sources::Omitted) : sources_(sources) {}

    void Append(std::string& out, const RecordView& record, const Explanation* sources,
                const MessageOrigin& origin) override;
    bool ShowsSources() const override { return sources_ == Sources::Shown; }
    std::string_view Separator() const override { return "\n"; }

private:
    Sources sources_;
};

}  // namespace quillmark::cli
