// SPDX-License-Identifier: MIT
#pragma once
// How one decoded message is written: the clipboard report with LF line ends, or a JSON line.
// The form is chosen once from the options; each thread that decodes gets its own writer.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/CommandLine.h"
#include "cli/SourceNotes.h"
#include "decoder/decoder.h"
#include "decoder/provenance.h"
#include "decoder/record_view.h"

namespace quillmark::cli {

// Where a message came from: the input's name as given, its line in --lines mode, and in
// --log mode the line of its BUG word and that word.
struct MessageOrigin {
    std::string_view file;
    std::optional<std::uint64_t> line;
    std::string_view bug;
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
};

// One JSON object and LF per message: file, line (with LineKey::Written), bug (--log), the field
// texts,
// PointersDiffer and the raw codes of the looked-up fields (kCodeFields), written as the JSON
// library writes them (no blanks, only the characters JSON needs escaped, the rest as UTF-8).
// Always valid UTF-8: a file name whose bytes are not becomes U+FFFD where they break; field texts
// always are. With Sources::Shown the object ends with "sources": for every field key a list
// (always a list, so that every field has one shape) of {"word", "of" ("word" or "bits"), "start"
// (1-based character), "length" (characters), "text", and "note" where the word is not eight
// upper-case hexadecimal digits}: one entry per field, one per digit word that gave a digit for
// DigsDialed (none when no digit was dialed).
class JsonWriter final : public RecordWriter {
public:
    enum class LineKey { Omitted, Written };

    explicit JsonWriter(LineKey lineKey, Sources sources = Sources::Omitted);

    void Append(std::string& out, const RecordView& record, const Explanation* sources,
                const MessageOrigin& origin) override;
    bool ShowsSources() const override { return sources_ == Sources::Shown; }
    std::string_view Separator() const override { return {}; }

private:
    LineKey lineKey_;
    Sources sources_;
    bool fileKnown_ = false;
    std::string file_;  // the input of the last record, as given
    std::string
        fileJson_;      // the record's opening with the file as a JSON string, made once per input
    std::string head_;  // --log: the line and the BUG word, as JSON
};

// The text as a JSON string, quotes included, with the escapes the JSON library writes; text
// that is not valid UTF-8 goes through the library itself, which puts U+FFFD where it breaks.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace quillmark::cli
