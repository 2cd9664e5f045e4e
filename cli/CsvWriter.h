// SPDX-License-Identifier: MIT
#pragma once
// --csv: one row per message for a spreadsheet, after a header row of the JSON keys
// (RFC 4180: fields separated by commas, rows ended by CR LF, a field that holds a comma, a
// quote or a line break quoted, its quotes doubled; UTF-8 throughout).

#include <string>
#include <string_view>

#include "cli/RecordFormat.h"

namespace quillmark::cli {

class CsvWriter final : public RecordWriter {
public:
    // Which columns stand before the fields: always the input; its line with --lines; the BUG
    // word's line and the word with --log.
    enum class Columns { Fields, Line, LineAndBug };

    explicit CsvWriter(Columns columns) : columns_(columns) {}

    void Append(std::string& out, const RecordView& record, const Explanation* sources,
                const MessageOrigin& origin) override;
    std::string_view Separator() const override { return {}; }
    // file[,line[,bug]], the field keys, PointersDiffer, then codes.KEY for each looked-up field.
    std::string Header() const override;

private:
    Columns columns_;
    bool fileKnown_ = false;
    std::string file_;       // the input of the last record, as given
    std::string fileField_;  // it as a CSV field, made once per input
    std::string text_;       // a field that needs a closer look, in one piece
};

// A CSV field: as it stands, or quoted with its quotes doubled when it needs it; bytes that are
// not UTF-8 become U+FFFD.
void AppendCsvField(std::string& out, std::string_view text);

}  // namespace quillmark::cli
