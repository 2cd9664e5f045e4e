// SPDX-License-Identifier: MIT
#include "cli/MessageDecoder.h"

#include "cli/StringStorage.h"
#include "decoder/field_catalogue.h"

namespace quillmark::cli {

MessageDecoder::MessageDecoder(std::unique_ptr<RecordWriter> writer)
    : writer_(std::move(writer)), showsSources_(writer_->ShowsSources()) {}

void MessageDecoder::Append(std::string& out, std::string_view text, const MessageOrigin& origin) {
    // The record is read as views of the text: no word array, and no string per field.
    record_.Decode(text);
    if (!showsSources_) {
        writer_->Append(out, record_, nullptr, origin);
        return;
    }
    // Where each field came from is told from the words in the window's arrays, with the
    // notes on words that are not eight upper-case hexadecimal digits.
    if (!words_) {
        words_ = std::make_unique<DataWords>();
    }
    for (std::size_t word = 0; word < words_->HexWords.size(); ++word) {
        ClearKeepingSmallStorage(words_->HexWords[word]);
        ClearKeepingSmallStorage(words_->BinWords[word]);
    }
    ReadDataWords(text, *words_);
    const Explanation explanation{SourcesOf(*words_), NoteTextsOf(text)};
    writer_->Append(out, record_, &explanation, origin);
}

}  // namespace quillmark::cli
