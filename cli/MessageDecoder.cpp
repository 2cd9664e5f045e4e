// SPDX-License-Identifier: MIT
#include "cli/MessageDecoder.h"

namespace quillmark::cli {
namespace {

// Keeps the storage of ordinary words from message to message, but gives back what an
// unusually long word took, so one huge message does not hold memory for the rest of the run.
void Empty(std::string& text) {
    if (text.capacity() > 64 * 1024) {
        std::string().swap(text);
    }
    text.clear();
}

}  // namespace

MessageDecoder::MessageDecoder(bool json, bool lines) {
    if (json) {
        json_.emplace(lines);
    }
}

void MessageDecoder::Append(std::string& out, std::string_view text, const MessageOrigin& origin,
                            bool firstRecord) {
    // The reader expects empty arrays.
    for (std::string& word : words_.HexWords) {
        Empty(word);
    }
    for (std::string& bits : words_.BinWords) {
        Empty(bits);
    }
    DataWordReader reader(words_);
    reader.Feed(text);
    reader.Finish();
    const DecodedFields fields = DecodeCallRegister(words_);

    if (json_) {
        json_->Append(out, fields, origin);
        return;
    }
    if (!firstRecord) {
        out += '\n';
    }
    AppendTextReport(out, fields);
}

}  // namespace quillmark::cli
