// SPDX-License-Identifier: MIT
#include "cli/MessageDecoder.h"

#include "cli/StringStorage.h"
#include "decoder/field_catalogue.h"

namespace quillmark::cli {

MessageDecoder::MessageDecoder(std::unique_ptr<RecordWriter> writer)
    : writer_(std::move(writer)), showsSources_(writer_->ShowsSources()) {}

void MessageDecoder::Append(std::string& out, std::string_view text, const MessageOrigin& origin) {
    if (showsSources_) {
        AppendWithSources(out, text, origin);
        return;
    }
    // The same record as the window's reader and decoder give, read as views of the text:
    // no word array, and no string per field.
    record_.Decode(text);
    writer_->Append(out, record_, origin);
}

void MessageDecoder::AppendWithSources(std::string& out, std::string_view text, const MessageOrigin& origin) {
    // The window's own path: the words as read, the record decoded from them, each field's
    // source cut from the same words, and the notes on words the window marks as faulty.
    if (!words_) {
        words_ = std::make_unique<DataWords>();
    }
    for (std::size_t word = 0; word < words_->HexWords.size(); ++word) {
        ClearKeepingSmallStorage(words_->HexWords[word]);
        ClearKeepingSmallStorage(words_->BinWords[word]);
    }
    ReadDataWords(text, *words_);
    const DecodedFields fields = DecodeCallRegister(*words_);
    writer_->AppendWithSources(out, fields, SourcesOf(*words_), NoteTextsOf(text), origin);
}

}  // namespace quillmark::cli
