// SPDX-License-Identifier: MIT
#include "cli/RecordFormat.h"

#include "cli/JsonWriter.h"
#include "cli/ReportWriter.h"

namespace quillmark::cli {

RecordWriterFactory ChooseRecordWriter(const DecodeOptions& options) {
    const Sources sources = options.explain ? Sources::Shown : Sources::Omitted;
    if (!options.json) {
        return [sources] { return std::make_unique<ReportWriter>(sources); };
    }
    const auto lineKey =
        options.lines ? JsonWriter::LineKey::Written : JsonWriter::LineKey::Omitted;
    return [lineKey, sources] { return std::make_unique<JsonWriter>(lineKey, sources); };
}

}  // namespace quillmark::cli
