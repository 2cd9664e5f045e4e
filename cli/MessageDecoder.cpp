// SPDX-License-Identifier: MIT
#include "cli/MessageDecoder.h"

#include "decoder/field_catalogue.h"

namespace quillmark::cli {

MessageDecoder::MessageDecoder(std::unique_ptr<RecordWriter> writer)
    : writer_(std::move(writer)), showsSources_(writer_->ShowsSources()) {}

void MessageDecoder::Append(std::string& out, std::string_view text, const MessageOrigin& origin) {
    // The record is read as views of the text: no word array, and no string per field.
    record_.Decode(text);
    Write(out, origin);
}

void MessageDecoder::Append(std::string& out, const TextLayout& layout,
                            const MessageOrigin& origin) {
    record_.Decode(layout);
    Write(out, origin);
}

void MessageDecoder::WriteExplained(std::string& out, const MessageOrigin& origin) {
    // Where each field came from, and the notes on words that are not eight upper-case
    // hexadecimal digits, are told from the record's own reading of the text.
    const Explanation explanation{SourcesOf(record_.Layout()), NoteTextsOf(record_.Layout())};
    writer_->Append(out, record_, &explanation, origin);
}

}  // namespace quillmark::cli
