// SPDX-License-Identifier: MIT
#include "cli/MessageDecoder.h"

namespace quillmark::cli {

MessageDecoder::MessageDecoder(std::unique_ptr<RecordWriter> writer) : writer_(std::move(writer)) {}

void MessageDecoder::Append(std::string& out, std::string_view text, const MessageOrigin& origin) {
    // The reader expects empty arrays. The cutter bounds every message by the input box's
    // characters, so the words' storage stays small and is kept for the next message.
    for (std::string& word : words_.HexWords) {
        word.clear();
    }
    for (std::string& bits : words_.BinWords) {
        bits.clear();
    }
    DataWordReader reader(words_);
    reader.Feed(text);
    reader.Finish();
    writer_->Append(out, DecodeCallRegister(words_), origin);
}

}  // namespace quillmark::cli
