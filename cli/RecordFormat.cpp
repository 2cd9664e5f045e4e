// SPDX-License-Identifier: MIT
#include "cli/RecordFormat.h"

#include "cli/CsvWriter.h"
#include "cli/JsonWriter.h"
#include "cli/ReportWriter.h"

namespace quillmark::cli {

RecordWriterFactory ChooseRecordWriter(const DecodeOptions& options) {
    const Sources sources = options.explain ? Sources::Shown : Sources::Omitted;
    if (options.csv) {
        const CsvWriter::Columns columns = options.log     ? CsvWriter::Columns::LineAndBug
                                           : options.lines ? CsvWriter::Columns::Line
                                                           : CsvWriter::Columns::Fields;
        return [columns] { return std::make_unique<CsvWriter>(columns); };
    }
    if (!options.json) {
        const auto headings =
            options.log ? ReportWriter::Headings::Shown : ReportWriter::Headings::Omitted;
        return [sources, headings] { return std::make_unique<ReportWriter>(sources, headings); };
    }
    const auto lineKey =
        options.lines || options.log ? JsonWriter::LineKey::Written : JsonWriter::LineKey::Omitted;
    return [lineKey, sources] { return std::make_unique<JsonWriter>(lineKey, sources); };
}

}  // namespace quillmark::cli
