// SPDX-License-Identifier: MIT
#pragma once
// How one decoded message is written: the clipboard report with LF line ends (ReportWriter.h),
// or a JSON line (JsonWriter.h). The form is chosen once from the options; each thread that
// decodes gets its own writer.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/CommandLine.h"
#include "cli/SourceNotes.h"
#include "decoder/decoder.h"
#include "decoder/log_reader.h"
#include "decoder/provenance.h"
#include "decoder/record_view.h"

namespace quillmark::cli {

// Where a message came from: the input's name as given, its line in --lines mode, and in
// --log mode the line of its BUG word and that word.
struct MessageOrigin {
    std::string_view file;
    std::optional<std::uint64_t> line;
    std::string_view bug;
    // --log, where the worker that decodes the message also found it: what the reader told.
    const LogMessage* message = nullptr;
};

// Whether a record also tells where each field came from (--explain).
enum class Sources { Omitted, Shown };

// What --explain adds to a record: where each field came from, and the notes on the words
// that are not eight upper-case hexadecimal digits.
struct Explanation {
    FieldSources sources;
    WordNoteTexts notes;
};

class RecordWriter {
public:
    virtual ~RecordWriter() = default;
    // Appends the record of one message; with its sources (where each field came from) when
    // the writer shows them.
    virtual void Append(std::string& out, const RecordView& record, const Explanation* sources,
                        const MessageOrigin& origin) = 0;
    // True when the writer wants each record's sources.
    virtual bool ShowsSources() const { return false; }
    // What stands between two records of a run.
    virtual std::string_view Separator() const = 0;
    // What stands before the first record of a run (a CSV header row).
    virtual std::string Header() const { return {}; }
};

// Makes one writer of the form chosen from the options.
using RecordWriterFactory = std::function<std::unique_ptr<RecordWriter>()>;
RecordWriterFactory ChooseRecordWriter(const DecodeOptions& options);

}  // namespace quillmark::cli
