// SPDX-License-Identifier: MIT
#include "cli/MessageDecoder.h"

#include "cli/StringStorage.h"
#include "decoder/field_catalogue.h"

namespace quillmark::cli {

MessageDecoder::MessageDecoder(std::unique_ptr<RecordWriter> writer) : writer_(std::move(writer)) {}

void MessageDecoder::Append(std::string& out, std::string_view text, const MessageOrigin& origin) {
    // The same record as the window's reader and decoder give, without their word arrays; the
    // record's texts keep their storage for the next message.
    DecodeText(text, fields_);
    writer_->Append(out, fields_, origin);
    Release();
}

void MessageDecoder::Release() {
    for (const FieldRow& row : kFields) {
        ClearKeepingSmallStorage(fields_.*row.member);
        if (row.code != nullptr) {
            ClearKeepingSmallStorage(fields_.Codes.*row.code);
        }
    }
}

}  // namespace quillmark::cli
